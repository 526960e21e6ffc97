#include "local/observer.h"

#include <gtest/gtest.h>

#include <string>

#include "gdi/draw_user_message.h"
#include "gdi/recording_device_context.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::TempDataDir;

// Loads `text` as the site list of a fresh directory.
CityList Load(const std::string& text, Status* status = nullptr) {
  TempDataDir dir;
  dir.Write("location.new", text);
  CityList list;
  const Status result = LoadCityList(dir.path(), list);
  if (status) *status = result;
  return list;
}

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(CityList, FortyFiveSitesWithCommentsKeepTheFirstForty) {
  std::string text = "; my sites\n";
  for (int i = 1; i <= 45; ++i) {
    if (i == 10 || i == 41) text += ";comment\n";
    text += "Site" + std::to_string(i) + "," + std::to_string(i) + ",-" + std::to_string(i) +
            "," + std::to_string(10 * i) + ",7\n";
  }
  Status status = Status::Failed;
  CityList list = Load(text, &status);
  EXPECT_EQ(status, Status::Ok);
  ASSERT_EQ(list.count, 40);
  EXPECT_EQ(list.entries[1].name, "Site1");
  EXPECT_EQ(list.entries[10].name, "Site10");
  EXPECT_EQ(list.entries[40].name, "Site40");
  EXPECT_EQ(list.entries[40].longitude, 40);
  EXPECT_EQ(list.entries[40].latitude, -40);
  EXPECT_EQ(list.entries[40].height, 400);
  EXPECT_EQ(list.entries[40].fourth, 7);
}

TEST(CityList, FieldsSeparatorsAndNumbersAsTheCLibraryReadsThem) {
  CityList list = Load(
      "Tokyo,139.767,35.7,40,0\r\n"
      "Kyoto,135.75,35.0\r\n"
      "Sydney, 151.2;-33.883,10\r\n"
      "  Spaced name;x,1e1,35.5abc,,5\r\n"
      "NoComma\r\n"
      "\r\n");
  ASSERT_EQ(list.count, 6);
  const CityEntry& tokyo = list.entries[1];
  EXPECT_EQ(tokyo.name, "Tokyo");
  EXPECT_EQ(tokyo.longitude, 139.767);
  EXPECT_EQ(tokyo.latitude, 35.7);
  EXPECT_EQ(tokyo.height, 40);
  const CityEntry& kyoto = list.entries[2];
  EXPECT_EQ(kyoto.name, "Kyoto");
  EXPECT_EQ(kyoto.latitude, 35.0);
  EXPECT_EQ(kyoto.height, 0);
  EXPECT_EQ(kyoto.fourth, 0);
  const CityEntry& sydney = list.entries[3];  // ';' separates numbers like ','
  EXPECT_EQ(sydney.longitude, 151.2);
  EXPECT_EQ(sydney.latitude, -33.883);
  EXPECT_EQ(sydney.height, 10);
  const CityEntry& spaced = list.entries[4];  // the name runs to the first ',' only
  EXPECT_EQ(spaced.name, "  Spaced name;x");
  EXPECT_EQ(spaced.longitude, 10);
  EXPECT_EQ(spaced.latitude, 35.5);
  EXPECT_EQ(spaced.height, 0);
  EXPECT_EQ(spaced.fourth, 5);
  // Without a comma the whole read is the name, line end included; CR LF reads as LF.
  EXPECT_EQ(list.entries[5].name, "NoComma\n");
  EXPECT_EQ(list.entries[5].longitude, 0);
  EXPECT_EQ(list.entries[6].name, "\n");  // an empty line is an entry too
}

TEST(CityList, OverlongLinesContinueAsTheNextRead) {
  // 90 letters before the comma: the first read takes 79 of them.
  CityList list = Load(Repeat("x", 79) + "yyyyyyyyyyy,12.5,-3\nNext,1,2\n");
  ASSERT_EQ(list.count, 3);
  EXPECT_EQ(list.entries[1].name, Repeat("x", 79));
  EXPECT_EQ(list.entries[1].longitude, 0);
  EXPECT_EQ(list.entries[2].name, "yyyyyyyyyyy");
  EXPECT_EQ(list.entries[2].longitude, 12.5);
  EXPECT_EQ(list.entries[2].latitude, -3);
  EXPECT_EQ(list.entries[3].name, "Next");
}

TEST(CityList, ShiftJisAndUtf8NamesShowTheSameText) {
  const std::string tokyoSjis = "\x93\x8C\x8B\x9E";        // 東京
  const std::string osakaSjis = "\x91\xE5\x8D\xE3";        // 大阪
  const std::string kanaSjis = "\xB6\xC5";                  // ｶﾅ (half-width)
  CityList sjis = Load(tokyoSjis + ",139.767,35.7,40,0\r\n" + osakaSjis + ",135.5,34.7\r\n" +
                       kanaSjis + ",1,2\r\n");
  ASSERT_EQ(sjis.count, 3);
  EXPECT_EQ(sjis.entries[1].name, "東京");
  EXPECT_EQ(sjis.entries[1].longitude, 139.767);
  EXPECT_EQ(sjis.entries[2].name, "大阪");
  EXPECT_EQ(sjis.entries[3].name, "ｶﾅ");

  CityList utf8 = Load("東京,139.767,35.7,40,0\n大阪,135.5,34.7\n");
  ASSERT_EQ(utf8.count, 2);
  EXPECT_EQ(utf8.entries[1].name, "東京");
  EXPECT_EQ(utf8.entries[2].name, "大阪");

  CityList bom = Load("\xEF\xBB\xBF東京,139.767,35.7\n");
  EXPECT_EQ(bom.entries[1].name, "東京");
}

TEST(CityList, ALineReadNeverEndsInsideACharacter) {
  // 40 two-byte characters (80 bytes) before the comma: 79 bytes would cut the
  // fortieth in half, so the read stops after 39 and the fortieth starts the next.
  const std::string sjis = Repeat("\x93\x8C", 40) + ",1,2\n";  // 東 x 40
  CityList a = Load(sjis);
  ASSERT_EQ(a.count, 2);
  EXPECT_EQ(a.entries[1].name, Repeat("東", 39));
  EXPECT_EQ(a.entries[2].name, "東");
  EXPECT_EQ(a.entries[2].longitude, 1);

  const std::string utf8 = Repeat("東", 27) + ",3,4\n";  // 81 bytes before the comma
  CityList b = Load(utf8);
  ASSERT_EQ(b.count, 2);
  EXPECT_EQ(b.entries[1].name, Repeat("東", 26));
  EXPECT_EQ(b.entries[2].name, "東");
  EXPECT_EQ(b.entries[2].latitude, 4);
}

TEST(CityList, NamesBeyondThePoolStopTheReadCleanly) {
  // 30-byte names take 31 bytes each: 27 fit in 852 bytes, the 28th does not.
  std::string text;
  for (int i = 0; i < 40; ++i) text += std::string(28, 'a') + (i < 10 ? "0" : "") + std::to_string(i) + ",1,2\n";
  CityList list = Load(text);
  EXPECT_EQ(list.count, 27);
  EXPECT_EQ(list.poolUsed, 27 * 31);
  EXPECT_EQ(list.entries[27].name, std::string(28, 'a') + "26");

  // The pool counts the file's bytes: 19 two-byte characters take 39 bytes in
  // Shift-JIS (21 names fit) although each name takes 58 bytes as UTF-8.
  std::string sjis;
  for (int i = 0; i < 30; ++i) sjis += Repeat("\x91\xE5", 19) + ",1,2\r\n";
  CityList wide = Load(sjis);
  EXPECT_EQ(wide.count, 21);
  EXPECT_EQ(wide.entries[21].name, Repeat("大", 19));
}

TEST(CityList, AMissingFileKeepsTheListAndItsMessageDrawsTheTwoLines) {
  TempDataDir dir;
  dir.Write("LOCATION.NEW", "Kyoto,135.75,35.0\nTokyo,139.767,35.7\n");  // any letter case
  CityList list;
  ASSERT_EQ(LoadCityList(dir.path(), list), Status::Ok);
  ASSERT_EQ(list.count, 2);

  // A file with comments only leaves the previous entries in place.
  dir.Write("LOCATION.NEW", ";nothing here\n");
  EXPECT_EQ(LoadCityList(dir.path(), list), Status::Ok);
  EXPECT_EQ(list.count, 2);
  EXPECT_EQ(list.entries[2].name, "Tokyo");

  TempDataDir empty;
  EXPECT_EQ(LoadCityList(empty.path(), list), Status::Failed);
  EXPECT_EQ(list.count, 2);
  RecordingDeviceContext dc;
  DrawUserMessage(dc, MissingSiteListMessage());
  auto texts = dc.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].x, 50);
  EXPECT_EQ(texts[0].y, 16);
  EXPECT_EQ(texts[0].text, "都市情報(location.new)ファイルがありません！");
  EXPECT_EQ(texts[1].x, 50);
  EXPECT_EQ(texts[1].y, 32);
  EXPECT_EQ(texts[1].text, "location.newファイルのあるディレクトリで起動して下さい。");
  EXPECT_EQ(texts[1].colour, (Rgb{255, 255, 255}));
  EXPECT_EQ(list.count, 2);
  EXPECT_EQ(list.entries[1].name, "Kyoto");
}

TEST(Observer, SetUpObserverComputesTheGeocentricTerms) {
  ObserverSite site;  // the start-up site: 135 E, 35 N, sea level
  EXPECT_EQ(site.cityIndex, 1);
  EXPECT_EQ(site.searchCityIndex, 1);
  EXPECT_EQ(site.siteSource, 0);
  ObserverGeometry g;
  SetUpObserver(site, g);
  EXPECT_EQ(g.westLongitude, -135.0);
  EXPECT_EQ(g.latitude, 35.0);
  EXPECT_NEAR(g.rhoCosPhi, 0.82006, 1e-5);
  EXPECT_NEAR(g.rhoSinPhi, 0.57037, 2e-5);

  site.latitude = 90;
  SetUpObserver(site, g);
  EXPECT_NEAR(g.rhoCosPhi, 0, 1e-12);
  EXPECT_NEAR(g.rhoSinPhi, 0.99664719, 1e-12);

  // 6378.14 m on the equator: one thousandth of the equatorial radius.
  site.latitude = 0;
  site.height = 6378.14;
  SetUpObserver(site, g);
  EXPECT_NEAR(g.rhoCosPhi, 1.001, 1e-12);
  EXPECT_NEAR(g.rhoSinPhi, 0, 1e-12);
  EXPECT_EQ(g.height, 6378.14);
}

TEST(Observer, AWestSiteIsEvaluatedWestPositive) {
  ObserverSite site;  // the site's longitude is east positive
  site.longitude = -0.083;
  site.latitude = 51.5;
  site.height = 25;
  ObserverGeometry g;
  SetUpObserver(site, g);
  EXPECT_EQ(g.westLongitude, 0.083);
  EXPECT_EQ(g.latitude, 51.5);
  EXPECT_EQ(g.height, 25);
}

}  // namespace
}  // namespace vernier
