#include "bessel/kml_export.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/temp_data_dir.h"
#include "support/text_files.h"

namespace vernier {
namespace {

using testing::ReadWholeFile;

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(KmlExport, FileNamesFromDateAndReferenceHour) {
  EXPECT_EQ(KmlExport::FileName(2025, 3, 15, 14.6), "2025031514.kml");
  EXPECT_EQ(KmlExport::FileName(-500, 3, 1, 5), "3794937191.kml");
  // Years beyond the signed range still get their own decimal number.
  EXPECT_EQ(KmlExport::FileName(2150, 1, 2, 3), "2150010203.kml");
  EXPECT_EQ(KmlExport::FileName(4000, 12, 31, 23.9), "4000123123.kml");
}

TEST(KmlExport, ObjectNames) {
  EXPECT_EQ(ObjectName(0), " ");
  EXPECT_EQ(ObjectName(5), "Jupitar");
  EXPECT_EQ(ObjectName(3), "3");
  EXPECT_EQ(ObjectName(1234), "1234");
  // A star without a HIP number is named by its identifier, not the key.
  EXPECT_EQ(ObjectName(4060400092), "Z3-604-92");
  EXPECT_EQ(ObjectName(999999999), "999999999");
}

TEST(KmlExport, EveryLimitPointIsWrittenWhereverItFalls) {
  BesselianElements e;
  e.year = 2025, e.month = 3, e.day = 15, e.t0 = 14.6, e.xz = 1234;
  KmlExport kml(e);
  const struct {
    double lon, lat;
    const char* line;
  } points[] = {
      {135.5, 35.25, " 00135.500000,00035.250000,0\n"},
      {120, 35, " 00120.000000,00035.000000,0\n"},
      {135, 50, " 00135.000000,00050.000000,0\n"},
      {-70.25, -30.5, " -0070.250000,-0030.500000,0\n"},
      {0, -89.5, " 00000.000000,-0089.500000,0\n"},
      // East longitudes past 180 as the globe viewer reads them.
      {190, 10, " -0170.000000,00010.000000,0\n"},
      {180, 0, " 00180.000000,00000.000000,0\n"},
  };
  std::string wanted;
  for (const auto& p : points) {
    kml.AddPoint(KmlLine::South, p.lon, p.lat);
    wanted += p.line;
  }
  kml.AddPoint(KmlLine::NorthPlus, 149.999, 20.001);
  kml.AddPoint(KmlLine::Center, 135, 35);   // the centre piece stays empty
  const std::string& south = kml.Piece(KmlLine::South);
  EXPECT_EQ(south.substr(south.size() - wanted.size()), wanted);
  EXPECT_EQ(Count(south, ",0\n"), 7);
  EXPECT_EQ(Count(kml.Piece(KmlLine::NorthPlus), ",0\n"), 1);
  EXPECT_EQ(kml.Piece(KmlLine::Center), "");
  // The south piece opens with the document's name and description.
  EXPECT_EQ(kml.Piece(KmlLine::South).rfind(
                "<name>Occultation   2025/03/15 Star:1234</name>\n"
                "<description>  2025/03/15 Star:1234</description>\n\n<Placemark>\n"
                "<name>South Limit Line</name>\n",
                0),
            0u);
}

TEST(KmlExport, TheDocumentJoinsHeaderAndPiecesAndParsesAsXml) {
  testing::TempDataDir data, out;
  data.Write("echead.prn", ReadWholeFile(std::string(VERNIER_SOURCE_DIR) + "/data/echead.prn"));
  BesselianElements e;
  e.year = 2025, e.month = 3, e.day = 15, e.t0 = 14.6, e.xz = 2;
  KmlExport kml(e);
  kml.AddPoint(KmlLine::North, 135, 36);
  kml.AddPoint(KmlLine::NorthPlus, 135, 36.01);
  std::string path = kml.Finish(data.path(), out.path());
  ASSERT_EQ(path, out.File("2025031514.kml"));
  std::string doc = ReadWholeFile(path);
  EXPECT_EQ(Count(doc, "<Placemark>"), 6);
  EXPECT_EQ(Count(doc, "</coordinates>"), 6);
  EXPECT_NE(doc.find("Star:Venus"), std::string::npos);
  // Order of the pieces: +1 s north, north, −1 s north, …, south, +1 s south.
  EXPECT_LT(doc.find("North Limit +1 sec Line"), doc.find("North Limit Line"));
  EXPECT_LT(doc.find("North Limit Line"), doc.find("North Limit -1 sec Line"));
  EXPECT_LT(doc.find("South Limit -1 sec Line"), doc.find("<name>Occultation"));
  EXPECT_LT(doc.find("South Limit Line"), doc.find("South Limit +1 sec Line"));
  EXPECT_EQ(doc.substr(doc.size() - 19), "</Document>\n</kml>\n");
  EXPECT_EQ(doc.rfind("<?xml", 0), 0u);
  std::string check = "xmllint --noout '" + path + "' 2>&1";
  EXPECT_EQ(std::system(check.c_str()), 0) << "the KML file is not well-formed XML";
}

TEST(KmlExport, AnEventFarFromJapanKeepsItsPointsAndFailuresAreReported) {
  testing::TempDataDir out;
  BesselianElements e;
  e.year = 2026, e.month = 1, e.day = 2, e.t0 = 3;
  KmlExport kml(e);
  kml.AddPoint(KmlLine::South, -70, -30);
  // No header template, or one that is a directory: no document without its
  // prologue, and the caller is told why.
  EXPECT_EQ(kml.Finish(out.path(), out.path()), "");
  EXPECT_NE(kml.Problem().find("echead.prn"), std::string::npos);
  std::filesystem::create_directory(out.File("echead.prn"));
  EXPECT_EQ(kml.Finish(out.path(), out.path()), "");
  EXPECT_NE(kml.Problem().find("echead.prn"), std::string::npos);
  std::filesystem::remove(out.File("echead.prn"));
  out.Write("echead.prn", "<?xml version=\"1.0\"?>\n<kml><Document>\n");
  std::string doc = ReadWholeFile(kml.Finish(out.path(), out.path()));
  EXPECT_NE(doc.find("<coordinates>\n -0070.000000,-0030.000000,0\n</coordinates>"),
            std::string::npos);
  EXPECT_EQ(Count(doc, "<coordinates>\n</coordinates>"), 5);
  // A directory that cannot be written: no file, and the caller is told where.
  EXPECT_EQ(kml.Finish(out.path(), out.path() + "/no/such/dir"), "");
  EXPECT_NE(kml.Problem().find("/no/such/dir"), std::string::npos);
}

}  // namespace
}  // namespace vernier
