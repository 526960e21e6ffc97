#include "sky/star_names.h"

#include <gtest/gtest.h>

#include <limits>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vernier {
namespace {

namespace fs = std::filesystem;

StarNames Sample() {
  StarNames names;
  std::istringstream designations(
      "# comment\n"
      " 80763|α_Sco\n"
      " 80763|21_Sco\n"
      " 78401|δ_Sco\n"
      "  9640|γ1_And\r\n"
      "garbage line\n");
  std::istringstream proper(
      "# Scorpius (Sco)\n"
      " 80763|_(\"Antares\") 1,2,6\n"
      " 80763|_(\"Cor Scorpii\") 37\n"
      " 32349|_(\"Sirius\") 1,2\n"
      " 11111|no quotes here\n");
  names.ReadDesignations(designations);
  names.ReadProperNames(proper);
  return names;
}

TEST(StarNamesTest, DesignationAndProperNameByHip) {
  const StarNames names = Sample();
  EXPECT_EQ(names.NameOf(80763), "α Sco (Antares)");
  EXPECT_EQ(names.NameOf(78401), "δ Sco");
  EXPECT_EQ(names.NameOf(32349), "Sirius");
  EXPECT_EQ(names.NameOf(9640), "γ1 And");
  EXPECT_EQ(names.NameOf(11111), "");
  EXPECT_EQ(names.NameOf(0), "");
  EXPECT_EQ(names.NameOf(80763.5), "");
  // Numbers of damaged records: none converts out of range.
  for (double hip : {1e300, 9.3e18, 1e15, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN(), -80763.0})
    EXPECT_EQ(names.NameOf(hip), "") << hip;
}

TEST(StarNamesTest, MissingListsGiveNoNamesAndTheDataDirectoryComesFirst) {
  const StarNames none = StarNames::LoadFrom("/nonexistent/name.fab", "/nonexistent/names.fab");
  EXPECT_TRUE(none.Empty());
  EXPECT_EQ(none.NameOf(80763), "");

  const fs::path dir = fs::temp_directory_path() / "vernier-star-names-test";
  fs::create_directories(dir);
  std::ofstream(dir / "NAME.FAB") << " 80763|x_Test\n";
  std::ofstream(dir / "star_names.fab") << " 80763|_(\"Local\")\n";
  EXPECT_EQ(StarNames::Load(dir.string()).NameOf(80763), "x Test (Local)");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vernier
