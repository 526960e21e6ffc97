#include "map/coastlines.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "gdi/recording_device_context.h"
#include "map/coastline_file.h"
#include "map/decoded_coastline.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using Kind = DrawCall::Kind;
using vernier::testing::TempDataDir;

constexpr ClientRect kClient{0, 0, 684, 520};

// --- Hand-built coastline files -------------------------------------------

std::vector<std::uint16_t> Short(int dx, int dy) {
  return {static_cast<std::uint16_t>(((dx & 0xFF) << 8) | (dy & 0xFF) | 0x4000)};
}

// A long-form word: bit 14 cleared on a negative value.
std::uint16_t LongWord(int v) {
  std::uint16_t w = static_cast<std::uint16_t>(v & 0xFFFF);
  if (v < 0) w &= 0xBFFF;
  return w;
}
std::vector<std::uint16_t> Long(int dx, int dy) {
  return {LongWord(dx), LongWord(dy)};
}

struct TestSegment {
  int lon = 0, lat = 0;  // arc-seconds
  int rank = 1;
  std::vector<std::uint16_t> words;
  int strokeCount = 0;

  TestSegment& Add(const std::vector<std::uint16_t>& stroke, int times = 1) {
    for (int i = 0; i < times; ++i) words.insert(words.end(), stroke.begin(), stroke.end());
    strokeCount += times;
    return *this;
  }
};

void PutInt32(std::string& b, std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
}
void PutInt16(std::string& b, std::size_t at, int v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// Header, dictionary at offset 40, then the segments in order.
std::string BuildFile(const std::vector<TestSegment>& segments) {
  const std::size_t dictSize = 28 * segments.size();
  std::string b(40 + dictSize, '\0');
  std::size_t largest = 0;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const TestSegment& s = segments[i];
    largest = std::max(largest, s.words.size());
    const std::size_t entry = 40 + 28 * i;
    PutInt32(b, entry + 16, static_cast<std::int32_t>(i + 1));
    PutInt32(b, entry + 20, static_cast<std::int32_t>(b.size()));
    PutInt16(b, entry + 24, static_cast<int>(2 * s.words.size()));
    PutInt16(b, entry + 26, s.rank);
    std::string seg(16 + 2 * s.words.size(), '\0');
    PutInt32(seg, 0, s.lon);
    PutInt32(seg, 4, s.lat);
    PutInt32(seg, 8, static_cast<std::int32_t>(i + 1));
    PutInt16(seg, 12, s.strokeCount);
    for (std::size_t k = 0; k < s.words.size(); ++k) PutInt16(seg, 16 + 2 * k, s.words[k]);
    b += seg;
  }
  PutInt32(b, 0, 0x43424431);
  PutInt32(b, 4, 40);
  PutInt32(b, 8, static_cast<std::int32_t>(segments.size()));
  PutInt32(b, 12, static_cast<std::int32_t>(dictSize));
  PutInt32(b, 16, static_cast<std::int32_t>(largest));
  return b;
}

std::size_t EntryField(std::size_t segment, std::size_t field) {
  return 40 + 28 * segment + field;
}

// Writes the five files: the given ones, and empty files for the rest.
void WriteFiles(const TempDataDir& dir,
                const std::vector<std::pair<std::string, std::string>>& files) {
  for (std::string_view name : kCoastlineFileNames) dir.Write(std::string(name), BuildFile({}));
  for (const auto& [name, bytes] : files) dir.Write(name, bytes);
}

// --- Map windows ------------------------------------------------------------

void SetCentre(MapWindow& w, double lon, double lat) {
  SetMapCentreAt(w, lon, lat);
}

// One paint's set-up: a whole-globe layout first (it fixes baseRadius), then
// the preset's; preset 3 at the given magnification.
MapWindow Window(Projection projection, int preset, double magnification, double lon = 0,
                 double lat = 0) {
  RecordingDeviceContext scratch;
  MapWindow w;
  w.projection = projection;
  LayoutMapWindow(w, scratch, kClient, true);
  ApplyWindowPreset(w);
  w.preset = static_cast<WindowPreset>(preset);
  LayoutMapWindow(w, scratch, kClient, true);
  ApplyWindowPreset(w);
  if (w.preset == WindowPreset::TypedCentre) w.targetRadius = w.baseRadius * magnification;
  SetCentre(w, lon, lat);
  SetMapCentre(w);
  return w;
}

Pixel ScreenOf(const MapWindow& w, double lon, double lat) {
  const ProjectedPixel p = ProjectPoint(w, lon, lat);
  return {p.x + w.centreX, w.centreY - p.y};
}

std::vector<DrawCall> Strokes(const RecordingDeviceContext& dc, Kind kind) {
  std::vector<DrawCall> out;
  for (const DrawCall& c : dc.Calls()) {
    if (c.kind == kind) out.push_back(c);
  }
  return out;
}

bool MovedTo(const RecordingDeviceContext& dc, Pixel p) {
  for (const DrawCall& c : Strokes(dc, Kind::MoveTo)) {
    if (c.x == p.x && c.y == p.y) return true;
  }
  return false;
}

// Draws one file (as Asia; the other four empty) and returns the calls.
RecordingDeviceContext DrawOne(MapWindow& w, const std::string& bytes) {
  TempDataDir dir;
  WriteFiles(dir, {{"as_cil.cbd", bytes}});
  RecordingDeviceContext dc;
  EXPECT_TRUE(DrawCoastlineFiles(w, dc, dir.path()));
  return dc;
}

// --- Decoding -----------------------------------------------------------------

TEST(CoastlineStrokes, ShortAndLongFormsFollowTheBitRules) {
  // Short form: positive words lose bit 14; dy is the signed low byte; a set
  // bit 7 of the high byte makes dx negative with six magnitude bits.
  auto shortOf = [](std::uint16_t word) {
    return DecodeShortStroke(static_cast<std::int16_t>(word));
  };
  EXPECT_EQ(shortOf(0x45FD).dx, 5);
  EXPECT_EQ(shortOf(0x45FD).dy, -3);
  EXPECT_EQ(shortOf(0x7F7F).dx, 63);
  EXPECT_EQ(shortOf(0x7F7F).dy, 127);
  EXPECT_EQ(shortOf(0xC0FF).dx, -64);
  EXPECT_EQ(shortOf(0xC0FF).dy, -1);
  EXPECT_EQ(shortOf(0xFF80).dx, -1);
  EXPECT_EQ(shortOf(0xFF80).dy, -128);
  EXPECT_EQ(shortOf(0x4000).dx, 0);
  EXPECT_EQ(shortOf(0x4000).dy, 0);

  // Long form: a negative word gets bit 14 back.
  EXPECT_EQ(DecodeLongValue(static_cast<std::int16_t>(0x0064)), 100);
  EXPECT_EQ(DecodeLongValue(static_cast<std::int16_t>(0xBF9C)), -100);
  EXPECT_EQ(DecodeLongValue(static_cast<std::int16_t>(0x8000)), -16384);
  EXPECT_EQ(DecodeLongValue(static_cast<std::int16_t>(0x3FFF)), 16383);

  // The walk: bit 14 of the word at the position picks the form.
  std::vector<std::uint16_t> words = Short(-7, 9);
  for (std::uint16_t w : Long(-300, 2000)) words.push_back(w);
  for (std::uint16_t w : Short(3, -128)) words.push_back(w);
  words.push_back(LongWord(50));  // a long stroke cut short
  std::string bytes(2 * words.size(), '\0');
  for (std::size_t i = 0; i < words.size(); ++i) PutInt16(bytes, 2 * i, words[i]);
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const int count = static_cast<int>(words.size());
  CoastlineStroke s;
  ASSERT_TRUE(DecodeCoastlineStroke(data, count, 0, s));
  EXPECT_EQ((std::vector<int>{s.dx, s.dy, s.words}), (std::vector<int>{-7, 9, 1}));
  ASSERT_TRUE(DecodeCoastlineStroke(data, count, 1, s));
  EXPECT_EQ((std::vector<int>{s.dx, s.dy, s.words}), (std::vector<int>{-300, 2000, 2}));
  ASSERT_TRUE(DecodeCoastlineStroke(data, count, 3, s));
  EXPECT_EQ((std::vector<int>{s.dx, s.dy, s.words}), (std::vector<int>{3, -128, 1}));
  EXPECT_FALSE(DecodeCoastlineStroke(data, count, 4, s));
  EXPECT_FALSE(DecodeCoastlineStroke(data, count, 5, s));
  EXPECT_FALSE(DecodeCoastlineStroke(data, count, -1, s));
}

// --- Drawing the files ---------------------------------------------------------

TEST(CoastlineFiles, DecodedStrokesLandWhereTheyBelongInBothForms) {
  // One segment from (10 E, 20 N): 60 short strokes, then 40 long ones.
  TestSegment s{10 * 3600, 20 * 3600, 1, {}, 0};
  s.Add(Short(60, -20), 60).Add(Long(-90, 300), 40);
  const std::string file = BuildFile({s});
  const double endLon = 10 + (60 * 60 - 40 * 90) / 3600.0;
  const double endLat = 20 + (-60 * 20 + 40 * 300) / 3600.0;

  for (Projection projection : {Projection::Globe, Projection::Mercator}) {
    SCOPED_TRACE(static_cast<int>(projection));
    MapWindow w = Window(projection, 0, 1, 10, 20);
    RecordingDeviceContext dc = DrawOne(w, file);
    const auto moves = Strokes(dc, Kind::MoveTo);
    const auto lines = Strokes(dc, Kind::LineTo);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(lines.size(), 1u);  // k = 100: stroke 100 only
    EXPECT_EQ((Pixel{moves[0].x, moves[0].y}), ScreenOf(w, 10, 20));
    EXPECT_EQ((Pixel{lines[0].x, lines[0].y}), ScreenOf(w, endLon, endLat));
    EXPECT_EQ(w.colour, Colour::White);
    const auto pixels = Strokes(dc, Kind::SetPixel);
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_EQ(pixels[0].colour, (Rgb{255, 255, 255}));
  }
}

TEST(CoastlineFiles, OnlyEveryKthStrokeIsProjected) {
  MapWindow whole = Window(Projection::Globe, 0, 1);
  ASSERT_EQ(CoastlineDrawingFor(whole).strokeStep, 100);

  // 99 strokes at magnification 1: the first point alone.
  TestSegment s99{0, 0, 1, {}, 0};
  s99.Add(Short(20, 20), 99);
  RecordingDeviceContext dc = DrawOne(whole, BuildFile({s99}));
  EXPECT_EQ(Strokes(dc, Kind::MoveTo).size(), 1u);
  EXPECT_EQ(Strokes(dc, Kind::SetPixel).size(), 1u);
  EXPECT_TRUE(Strokes(dc, Kind::LineTo).empty());

  // Magnification 10 in a typed window: k = 10, strokes 10, 20 of 25.
  MapWindow zoomed = Window(Projection::Globe, 3, 10);
  const CoastlineDrawing d = CoastlineDrawingFor(zoomed);
  EXPECT_EQ(d.strokeStep, 10);
  EXPECT_DOUBLE_EQ(d.margin, std::trunc(28.0 * 10) * 1.3);
  TestSegment s25{0, 0, 1, {}, 0};
  s25.Add(Short(30, 10), 25);
  dc = DrawOne(zoomed, BuildFile({s25}));
  const auto lines = Strokes(dc, Kind::LineTo);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ((Pixel{lines[0].x, lines[0].y}), ScreenOf(zoomed, 300 / 3600.0, 100 / 3600.0));
  EXPECT_EQ((Pixel{lines[1].x, lines[1].y}), ScreenOf(zoomed, 600 / 3600.0, 200 / 3600.0));

  // The Mercator margin is not widened.
  EXPECT_DOUBLE_EQ(CoastlineDrawingFor(Window(Projection::Mercator, 0, 1)).margin, 28);
}

TEST(CoastlineFiles, ALongitudeStepOfOneHundredArcSecondsIsIgnored) {
  // Magnification 100: every stroke is projected.
  MapWindow w = Window(Projection::Globe, 3, 100);
  ASSERT_EQ(CoastlineDrawingFor(w).strokeStep, 1);
  TestSegment s{0, 0, 1, {}, 0};
  s.Add(Long(100, 40)).Add(Long(-100, 40)).Add(Long(99, 40)).Add(Long(-150, 0));
  RecordingDeviceContext dc = DrawOne(w, BuildFile({s}));
  const auto lines = Strokes(dc, Kind::LineTo);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ((Pixel{lines[0].x, lines[0].y}), ScreenOf(w, 0, 40 / 3600.0));
  EXPECT_EQ((Pixel{lines[1].x, lines[1].y}), ScreenOf(w, 0, 80 / 3600.0));
  EXPECT_EQ((Pixel{lines[2].x, lines[2].y}), ScreenOf(w, 99 / 3600.0, 120 / 3600.0));
  EXPECT_EQ((Pixel{lines[3].x, lines[3].y}), ScreenOf(w, 99 / 3600.0, 120 / 3600.0));
  EXPECT_NE(ScreenOf(w, 0, 40 / 3600.0), ScreenOf(w, 100 / 3600.0, 40 / 3600.0));
}

TEST(CoastlineFiles, FineRanksOnlyInAZoomedPresetWindow) {
  TestSegment major{0, 0, 2, {}, 0};
  major.Add(Short(10, 10), 100);
  TestSegment fine{2 * 3600, 0, 3, {}, 0};
  fine.Add(Short(10, 10), 100);
  const std::string file = BuildFile({major, fine});

  auto drawsFine = [&](MapWindow w) {
    RecordingDeviceContext dc = DrawOne(w, file);
    EXPECT_TRUE(MovedTo(dc, ScreenOf(w, 0, 0)));  // rank 2 always
    return MovedTo(dc, ScreenOf(w, 2, 0));
  };
  // The whole globe never shows rank 3, even with a zoomed radius.
  MapWindow whole = Window(Projection::Globe, 0, 1);
  EXPECT_FALSE(drawsFine(whole));
  whole.radius = whole.baseRadius * 10;
  EXPECT_FALSE(drawsFine(whole));
  EXPECT_FALSE(drawsFine(Window(Projection::Globe, 3, 4.9)));
  EXPECT_TRUE(drawsFine(Window(Projection::Globe, 3, 5)));
  EXPECT_TRUE(drawsFine(Window(Projection::Globe, 3, 20)));
}

TEST(CoastlineFiles, SegmentsStartingBehindTheGlobeOrFarOutsideAreSkippedWhole) {
  MapWindow w = Window(Projection::Globe, 0, 1);  // centre (0, 0), R = 222
  // From 100 E back round to 60 E: the start is hidden, the rest is not.
  TestSegment behind{100 * 3600, 0, 1, {}, 0};
  behind.Add(Long(-72, 0), 2000);
  // Starts at 91 E: z = R sin 1 degree, about 3.9, behind the limb plane but
  // within 12 pixels, so still drawn.
  TestSegment limb{91 * 3600, 0, 1, {}, 0};
  limb.Add(Short(-10, 0), 10);
  RecordingDeviceContext dc = DrawOne(w, BuildFile({behind, limb}));
  const auto moves = Strokes(dc, Kind::MoveTo);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ((Pixel{moves[0].x, moves[0].y}), ScreenOf(w, 91, 0));
  EXPECT_TRUE(Strokes(dc, Kind::LineTo).empty());

  // In a zoomed window the margin decides: 28 x 5 x 1.3 = 182 pixels beyond
  // the frame. Both segments start east of the frame and run west into it.
  MapWindow z = Window(Projection::Globe, 3, 5);
  const double edge = z.frameRight - z.centreX;
  auto lonAt = [&](double pixels) { return std::asin(pixels / z.radius) / 0.01745329252; };
  TestSegment inside{static_cast<int>(lonAt(edge + 150) * 3600), 0, 1, {}, 0};
  TestSegment outside{static_cast<int>(lonAt(edge + 230) * 3600), 3600, 1, {}, 0};
  inside.Add(Short(-60, 0), 2000);
  outside.Add(Short(-60, 0), 2000);
  dc = DrawOne(z, BuildFile({inside, outside}));
  const auto zoomedMoves = Strokes(dc, Kind::MoveTo);
  ASSERT_EQ(zoomedMoves.size(), 1u);
  EXPECT_EQ(zoomedMoves[0].y, ScreenOf(z, 0, 0).y);
  EXPECT_FALSE(Strokes(dc, Kind::LineTo).empty());
}

// A file of one short segment starting on the equator at `lon`.
std::string OneSegmentAt(double lon) {
  TestSegment s{static_cast<int>(lon * 3600), 0, 1, {}, 0};
  s.Add(Short(10, 0), 5);
  return BuildFile({s});
}

TEST(CoastlineFiles, AMissingFileEndsTheDrawingWithTheMessage) {
  TempDataDir dir;
  // Europe, Africa and South America with the trailing blank older data sets
  // gave their names, Africa in capitals: found all the same.
  dir.Write("as_cil.cbd", OneSegmentAt(10));
  dir.Write("eu_cil.cbd ", OneSegmentAt(20));
  dir.Write("AF_CIL.CBD ", OneSegmentAt(30));
  dir.Write("sa_cil.cbd ", OneSegmentAt(-40));
  MapWindow w = Window(Projection::Globe, 0, 1);
  RecordingDeviceContext dc;
  EXPECT_FALSE(DrawCoastlineFiles(w, dc, dir.path()));
  EXPECT_TRUE(MovedTo(dc, ScreenOf(w, 10, 0)));
  EXPECT_TRUE(MovedTo(dc, ScreenOf(w, 20, 0)));
  EXPECT_TRUE(MovedTo(dc, ScreenOf(w, 30, 0)));
  EXPECT_FALSE(MovedTo(dc, ScreenOf(w, -40, 0)));
  const auto texts = dc.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].x, 300);
  EXPECT_EQ(texts[0].y, 15);
  EXPECT_EQ(texts[0].text, "CIA WORLD BANKデータファイルがありません！");
  EXPECT_EQ(texts[0].colour, (Rgb{255, 255, 255}));

  // With the fifth file present nothing is written.
  dir.Write("na_cil.cbd ", OneSegmentAt(-100));
  RecordingDeviceContext all;
  EXPECT_TRUE(DrawCoastlineFiles(w, all, dir.path()));
  EXPECT_TRUE(all.Texts().empty());
  EXPECT_TRUE(MovedTo(all, ScreenOf(w, -40, 0)));

  // Loaded once, the files are drawn from memory: the same strokes with the
  // files gone from the disk, and the message where a file was not loaded.
  const CoastlineFiles loaded = LoadCoastlineFiles(dir.path());
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    std::filesystem::remove(entry.path());
  RecordingDeviceContext fromMemory;
  EXPECT_TRUE(DrawCoastlineFiles(w, fromMemory, loaded));
  EXPECT_EQ(fromMemory.CallCount(), all.CallCount());
  EXPECT_TRUE(MovedTo(fromMemory, ScreenOf(w, -40, 0)));
  CoastlineFiles partial = loaded;
  partial.contents[3] = nullptr;
  RecordingDeviceContext cut;
  EXPECT_FALSE(DrawCoastlineFiles(w, cut, partial));
  EXPECT_TRUE(MovedTo(cut, ScreenOf(w, 30, 0)));
  ASSERT_EQ(cut.Texts().size(), 1u);
  EXPECT_EQ(cut.Texts()[0].text, "CIA WORLD BANKデータファイルがありません！");
  EXPECT_TRUE(LoadCoastlineFiles(dir.path()).contents[0] == nullptr);
}

// The files are kept in memory between paints; a file changed on disk (even
// at the same size), removed or replaced by a directory is seen at the next
// paint.
TEST(CoastlineFiles, AChangedFileIsReadAgainAtTheNextPaint) {
  TempDataDir dir;
  WriteFiles(dir, {{"as_cil.cbd", OneSegmentAt(10)}});
  MapWindow w = Window(Projection::Globe, 0, 1);
  auto paint = [&] {
    RecordingDeviceContext dc;
    DrawCoastlineFiles(w, dc, dir.path());
    return dc;
  };
  EXPECT_TRUE(MovedTo(paint(), ScreenOf(w, 10, 0)));

  const std::string asia = dir.File("as_cil.cbd");
  const auto written = std::filesystem::last_write_time(asia);
  ASSERT_EQ(OneSegmentAt(50).size(), OneSegmentAt(10).size());
  dir.Write("as_cil.cbd", OneSegmentAt(50));
  std::filesystem::last_write_time(asia, written + std::chrono::seconds(1));
  RecordingDeviceContext changed = paint();
  EXPECT_TRUE(MovedTo(changed, ScreenOf(w, 50, 0)));
  EXPECT_FALSE(MovedTo(changed, ScreenOf(w, 10, 0)));

  std::filesystem::remove(asia);
  std::filesystem::create_directory(asia);
  RecordingDeviceContext missing = paint();
  EXPECT_FALSE(MovedTo(missing, ScreenOf(w, 50, 0)));
  ASSERT_EQ(missing.Texts().size(), 1u);
  EXPECT_EQ(missing.Texts()[0].text, kMissingCoastlineMessage);
}

// A kept file walks a segment's strokes only when the segment first comes
// into view and keeps the walk for the stroke step it was made for: in every
// window, in any order, it draws exactly what a fresh read draws.
TEST(CoastlineFiles, AKeptFileDrawsAsAFreshReadInEveryWindow) {
  std::vector<TestSegment> segments;
  for (int lon : {10, 100, -120, 170}) {
    TestSegment s{lon * 3600, 20 * 3600, 1, {}, 0};
    s.Add(Short(40, 30), 150).Add(Long(-5000, -200), 3).Add(Short(-60, 100), 120);
    segments.push_back(s);
  }
  segments.push_back(TestSegment{60 * 3600, 0, 4, {}, 0}.Add(Short(20, 20), 300));  // fine rank
  const std::string bytes = BuildFile(segments);
  TempDataDir dir;
  WriteFiles(dir, {{"as_cil.cbd", bytes}});
  const std::span<const unsigned char> raw(reinterpret_cast<const unsigned char*>(bytes.data()),
                                           bytes.size());
  const MapWindow windows[] = {Window(Projection::Globe, 0, 1),
                               Window(Projection::Globe, 3, 1, -120, 10),
                               Window(Projection::Globe, 3, 6, 60, 5),
                               Window(Projection::Globe, 3, 3, 100, 20),
                               Window(Projection::Mercator, 0, 1, 150, 0),
                               Window(Projection::Globe, 0, 1),
                               Window(Projection::Globe, 3, 6, 60, 5)};
  for (const MapWindow& window : windows) {
    MapWindow kept = window, fresh = window;
    kept.colour = fresh.colour = kCoastlineColour;
    RecordingDeviceContext keptCalls, freshCalls;
    ASSERT_TRUE(DrawCoastlineFiles(kept, keptCalls, dir.path()));
    DrawCoastlineBytes(fresh, freshCalls, raw, CoastlineDrawingFor(fresh));
    EXPECT_GT(freshCalls.Calls().size(), 0u);
    EXPECT_EQ(keptCalls.Calls(), freshCalls.Calls()) << window.centreLonDeg << " " << window.radius;
    EXPECT_EQ(kept.penDown, fresh.penDown);
  }
}

TEST(CoastlineFiles, DamagedFilesNeverStopTheFilesAfterThem) {
  MapWindow w = Window(Projection::Globe, 0, 1);
  auto segmentAt = [](double lon) {
    TestSegment s{static_cast<int>(lon * 3600), 0, 1, {}, 0};
    s.Add(Short(20, 0), 200);
    return s;
  };
  const std::string good = BuildFile({segmentAt(10), segmentAt(20), segmentAt(30)});
  const std::string europe = BuildFile({segmentAt(-20)});
  auto draw = [&](const std::string& asia) {
    TempDataDir dir;
    WriteFiles(dir, {{"as_cil.cbd", asia}, {"eu_cil.cbd", europe}});
    RecordingDeviceContext dc;
    EXPECT_TRUE(DrawCoastlineFiles(w, dc, dir.path()));
    EXPECT_TRUE(MovedTo(dc, ScreenOf(w, -20, 0))) << "the next file was not read";
    EXPECT_TRUE(dc.Texts().empty());
    return dc;
  };
  auto drawn = [&](const RecordingDeviceContext& dc) {
    std::vector<bool> out;
    for (double lon : {10, 20, 30}) out.push_back(MovedTo(dc, ScreenOf(w, lon, 0)));
    return out;
  };
  const std::vector<bool> all{true, true, true};
  const std::vector<bool> none{false, false, false};
  EXPECT_EQ(drawn(draw(good)), all);

  // Truncated inside the second segment: the first is drawn.
  const std::size_t secondOffset = 40 + 3 * 28 + (16 + 400);
  EXPECT_EQ(drawn(draw(good.substr(0, secondOffset + 100))),
            (std::vector<bool>{true, false, false}));
  // Truncated inside the header or the dictionary.
  EXPECT_EQ(drawn(draw(good.substr(0, 20))), none);
  EXPECT_EQ(drawn(draw(good.substr(0, 40 + 28 + 10))), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(drawn(draw(std::string())), none);

  std::string bad = good;
  PutInt32(bad, EntryField(1, 20), 1 << 30);  // offset past the end
  EXPECT_EQ(drawn(draw(bad)), (std::vector<bool>{true, false, true}));
  bad = good;
  PutInt32(bad, EntryField(1, 20), -16);  // negative offset
  EXPECT_EQ(drawn(draw(bad)), (std::vector<bool>{true, false, true}));
  bad = good;
  PutInt16(bad, EntryField(0, 24), -2);  // negative stroke bytes
  EXPECT_EQ(drawn(draw(bad)), (std::vector<bool>{false, true, true}));
  bad = good;
  PutInt16(bad, EntryField(2, 24), 30000);  // more bytes than the file holds
  EXPECT_EQ(drawn(draw(bad)), (std::vector<bool>{true, true, false}));
  bad = good;
  PutInt32(bad, 16, 10);  // the stroke buffer is sized too small for the segments
  EXPECT_EQ(drawn(draw(bad)), none);
  bad = good;
  PutInt32(bad, 4, static_cast<std::int32_t>(good.size() + 10));  // dictionary outside
  EXPECT_EQ(drawn(draw(bad)), none);
  bad = good;
  PutInt32(bad, 4, -40);
  EXPECT_EQ(drawn(draw(bad)), none);
  bad = good;
  PutInt32(bad, 8, 2000000000);  // count beyond the dictionary: its whole entries are read
  EXPECT_EQ(drawn(draw(bad)), all);
  bad = good;
  PutInt32(bad, 12, -1);
  EXPECT_EQ(drawn(draw(bad)), none);
  bad = good;
  PutInt32(bad, 16, -5);
  EXPECT_EQ(drawn(draw(bad)), none);
}

TEST(CoastlineFiles, StrokeCountsAndRunawayStrokesStayWithinTheSegment) {
  MapWindow w = Window(Projection::Globe, 3, 100);  // k = 1
  // The head claims 30000 strokes; the data holds 3.
  TestSegment claims{0, 0, 1, {}, 0};
  claims.Add(Short(10, 10), 3);
  claims.strokeCount = 30000;
  // Long strokes north at 4.55 degrees each pass the pole at stroke 20, where
  // the segment ends; left to run, the way back would reach (0, 0) again.
  TestSegment runaway{0, 0, 1, {}, 0};
  runaway.Add(Long(0, 16383), 20).Add(Long(0, -16383), 20);
  // A negative count draws the first point only.
  TestSegment negative{0, 0, 1, {}, 0};
  negative.Add(Short(10, 10), 3);
  negative.strokeCount = -5;
  // Dictionary and head disagree with the head at the pole's edge.
  TestSegment pastPole{0, 91 * 3600, 1, {}, 0};
  pastPole.Add(Short(10, 10), 3);

  RecordingDeviceContext dc = DrawOne(w, BuildFile({claims}));
  EXPECT_EQ(Strokes(dc, Kind::LineTo).size(), 3u);
  dc = DrawOne(w, BuildFile({runaway}));
  EXPECT_EQ(Strokes(dc, Kind::MoveTo).size(), 1u);
  EXPECT_TRUE(Strokes(dc, Kind::LineTo).empty());
  dc = DrawOne(w, BuildFile({negative}));
  EXPECT_EQ(Strokes(dc, Kind::MoveTo).size(), 1u);
  EXPECT_TRUE(Strokes(dc, Kind::LineTo).empty());
  dc = DrawOne(w, BuildFile({pastPole}));
  EXPECT_TRUE(Strokes(dc, Kind::MoveTo).empty());

  // Far in longitude (2 * 10^9 arc-seconds east): the globe takes the angle
  // as it is; the chart reduces it once only and draws nothing.
  TestSegment far{2000000000, 0, 1, {}, 0};
  far.Add(Short(63, 0), 300);
  MapWindow globe = Window(Projection::Globe, 0, 1);
  dc = DrawOne(globe, BuildFile({far}));
  EXPECT_TRUE(MovedTo(dc, ScreenOf(globe, 2000000000 / 3600.0, 0)));
  MapWindow chart = Window(Projection::Mercator, 0, 1);
  dc = DrawOne(chart, BuildFile({far}));
  EXPECT_TRUE(Strokes(dc, Kind::MoveTo).empty());
}

// --- The simple map -------------------------------------------------------------

TEST(SimpleMap, EighteenTablesInTheirOrderWithTheirMarkers) {
  const std::vector<int> counts{263, 359, 163, 397, 59,  143, 57,  567, 103,
                                71,  829, 139, 39,  379, 101, 107, 13,  107};
  // The first pair of each table lies at the named outline's start.
  const std::vector<std::pair<double, double>> firsts{
      {-17, 20}, {152, -24},  {-35, -6},  {-56, 52},   {-65, 18}, {-101, 70},
      {-22, 70}, {60, 70},    {-5, 58.5}, {-7, 55.7},  {60, 70},  {27, 81},
      {143, 55}, {142, 45.3}, {121, 19},  {121.6, 25}, {80, 10},  {0, -72}};
  int total = 0;
  for (int t = 0; t < kOutlineTableCount; ++t) {
    SCOPED_TRACE(t + 1);
    const auto table = OutlineTables[static_cast<std::size_t>(t)];
    ASSERT_EQ(static_cast<int>(table.size()), counts[static_cast<std::size_t>(t)]);
    total += static_cast<int>(table.size());
    EXPECT_EQ(table.back(), 999);
    ASSERT_EQ(table.size() % 2, 1u);  // pairs, then 999
    EXPECT_NEAR(table[0], firsts[static_cast<std::size_t>(t)].first, 2.5);
    EXPECT_NEAR(table[1], firsts[static_cast<std::size_t>(t)].second, 2.5);
    for (std::size_t i = 0; i + 1 < table.size(); i += 2) {
      const double lon = table[i], lat = table[i + 1];
      EXPECT_NE(lon, 999);
      const bool marker = (lon == 200 && lat == 200) || (lon == 500 && lat == 500);
      if (marker) continue;
      EXPECT_LE(std::fabs(lat), 90);
      EXPECT_DOUBLE_EQ(lon * 10, std::round(lon * 10));
      EXPECT_DOUBLE_EQ(lat * 10, std::round(lat * 10));
    }
    // Each table but the last ends its line; only the last ends the map.
    const double endLon = table[table.size() - 3], endLat = table[table.size() - 2];
    EXPECT_EQ(endLon, t + 1 < kOutlineTableCount ? 200 : 500);
    EXPECT_EQ(endLat, endLon);
  }
  EXPECT_EQ(total, 3896);

  // The stream runs through the tables without the 999s and restarts.
  OutlineCursor cursor;
  ResetOutlineTables(cursor);
  int values = 0;
  double v = 0;
  std::vector<double> firstOfTable;
  while ((v = NextOutlineValue(cursor)) != kOutlineStreamEnd) {
    EXPECT_NE(v, 999);
    if (cursor.position[static_cast<std::size_t>(cursor.currentTable)] == 1)
      firstOfTable.push_back(v);
    ++values;
  }
  EXPECT_EQ(values, 3896 - 18);
  EXPECT_EQ(firstOfTable.size(), 18u);
  EXPECT_EQ(NextOutlineValue(cursor), OutlineTables[0][0]);
}

TEST(SimpleMap, MarkersBreakAndEndTheDrawing) {
  const double a[] = {0, 0, 10, 0, 999};
  const double b[] = {200, 200, 20, 10, 30, 10, 500, 500, 40, 40, 999};
  const double empty[] = {999};
  OutlineTableSet tables;
  for (auto& t : tables) t = empty;
  tables[0] = a;
  tables[1] = b;

  MapWindow w = Window(Projection::Globe, 0, 1);
  RecordingDeviceContext dc;
  DrawSimpleMapGlobe(w, dc, tables);
  // (0,0) moves, (10,0) draws across the table end, the break lifts the pen,
  // (20,10) moves, (30,10) draws; nothing after (500, 500).
  const auto moves = Strokes(dc, Kind::MoveTo);
  const auto lines = Strokes(dc, Kind::LineTo);
  ASSERT_EQ(moves.size(), 2u);
  ASSERT_EQ(lines.size(), 2u);
  auto at = [&](double lon, double lat) {
    const ProjectedOffset p = ProjectGlobeOffset(w, lon, lat);
    return Pixel{static_cast<int>(p.x + w.centreX), static_cast<int>(w.centreY - p.y)};
  };
  EXPECT_EQ((Pixel{moves[0].x, moves[0].y}), at(0, 0));
  EXPECT_EQ((Pixel{lines[0].x, lines[0].y}), at(10, 0));
  EXPECT_EQ((Pixel{moves[1].x, moves[1].y}), at(20, 10));
  EXPECT_EQ((Pixel{lines[1].x, lines[1].y}), at(30, 10));

  // A stream without its end pair stops at the end of the tables; the line
  // runs on from one table into the next.
  tables[1] = a;
  RecordingDeviceContext unended;
  DrawSimpleMapGlobe(w, unended, tables);
  EXPECT_EQ(Strokes(unended, Kind::MoveTo).size(), 1u);
  EXPECT_EQ(Strokes(unended, Kind::LineTo).size(), 3u);
}

TEST(SimpleMap, MercatorLinesNeverRunAcrossTheSeam) {
  // Centred on 0: 170 E to 190 E crosses the seam at 180.
  const double line[] = {160, 0, 170, 0, 190, 0, 200.5, 0, 500, 500, 999};
  const double empty[] = {999};
  OutlineTableSet tables;
  for (auto& t : tables) t = empty;
  tables[0] = line;
  MapWindow w = Window(Projection::Mercator, 0, 1);
  RecordingDeviceContext dc;
  DrawSimpleMapMercator(w, dc, tables);
  const auto moves = Strokes(dc, Kind::MoveTo);
  const auto lines = Strokes(dc, Kind::LineTo);
  ASSERT_EQ(moves.size(), 2u);
  ASSERT_EQ(lines.size(), 2u);
  const double r = w.radius;
  const double k = 0.01745329252;
  EXPECT_EQ(moves[0].x, static_cast<int>(r * (160 * k) + w.centreX));
  EXPECT_EQ(lines[0].x, static_cast<int>(r * (170 * k) + w.centreX));
  // 190 E comes back in at 170 W and starts a new line.
  EXPECT_EQ(moves[1].x, static_cast<int>(r * (190 * k - 6.2831853072) + w.centreX));
  EXPECT_EQ(lines[1].x, static_cast<int>(r * (200.5 * k - 6.2831853072) + w.centreX));
  // Latitudes past 80 degrees are held at 80.
  const double polar[] = {0, 85, 10, 89, 500, 500, 999};
  tables[0] = polar;
  RecordingDeviceContext pdc;
  DrawSimpleMapMercator(w, pdc, tables);
  const auto polarMoves = Strokes(pdc, Kind::MoveTo);
  ASSERT_EQ(polarMoves.size(), 1u);
  EXPECT_EQ(polarMoves[0].y,
            static_cast<int>(w.centreY - r * std::log(std::tan(1.3962634016 / 2 + 0.7853981634))));
}

TEST(Coastlines, DispatchBySource) {
  TempDataDir dir;  // no files
  MapWindow w = Window(Projection::Globe, 0, 1);
  RecordingDeviceContext files;
  DrawCoastlines(w, files, dir.path());
  EXPECT_EQ(files.Texts().size(), 1u);
  EXPECT_TRUE(Strokes(files, Kind::LineTo).empty());

  w.coastlineSource = CoastlineSource::SimpleMap;
  RecordingDeviceContext simple;
  DrawCoastlines(w, simple, dir.path());
  EXPECT_TRUE(simple.Texts().empty());
  EXPECT_GT(Strokes(simple, Kind::LineTo).size(), 300u);
}

}  // namespace
}  // namespace vernier
