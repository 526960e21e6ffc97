// vernier-lunar-grid: makes the limb profile's lunar height grid ("LRO.dat")
// from the public LRO LOLA gridded elevation model in PDS3 form.
//
//   vernier-lunar-grid LABEL [OUTPUT]
//
// LABEL is the product's label (LDEM_16.LBL, whose ^IMAGE names LDEM_16.IMG
// beside it) or an image file that starts with its label. OUTPUT defaults to
// LRO.dat in the working directory.
#include <cstdio>
#include <string>

#include "lunar_grid.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || std::string(argv[1]) == "--help") {
    std::fprintf(argc < 2 || argc > 3 ? stderr : stdout,
                 "usage: vernier-lunar-grid LABEL [OUTPUT]\n"
                 "  converts a global lunar elevation image in PDS3 form (the LRO LOLA model\n"
                 "  LDEM_16 from https://pds-geosciences.wustl.edu/, label LDEM_16.LBL beside\n"
                 "  LDEM_16.IMG) into the 5760 x 2880 height grid of the limb profile\n"
                 "  (default OUTPUT: LRO.dat)\n");
    return argc < 2 || argc > 3 ? 2 : 0;
  }
  const std::string label = argv[1];
  const std::string output = argc == 3 ? argv[2] : "LRO.dat";
  std::string error;
  lunar_grid::ImageDescription image;
  if (!lunar_grid::DescribeImage(label, image, error)) {
    std::fprintf(stderr, "vernier-lunar-grid: %s\n", error.c_str());
    return 1;
  }
  std::vector<std::int16_t> grid;
  lunar_grid::ConversionReport report;
  if (!lunar_grid::ConvertImage(image, lunar_grid::kGridRows, lunar_grid::kGridColumns, grid,
                                report, error) ||
      !lunar_grid::WriteGrid(output, grid, error)) {
    std::fprintf(stderr, "vernier-lunar-grid: %s\n", error.c_str());
    return 1;
  }
  std::string resampling = "one pixel a cell";
  if (report.factor > 1)
    resampling = (report.averaged ? "blocks of " : "each pixel over ") +
                 std::to_string(report.factor) + " x " + std::to_string(report.factor) +
                 (report.averaged ? " pixels averaged" : " cells");
  std::printf("wrote %s: %d x %d cells from %s (%d x %d pixels, %s), heights %d .. %d m",
              output.c_str(), lunar_grid::kGridColumns, lunar_grid::kGridRows,
              image.imagePath.c_str(), image.samples, image.lines, resampling.c_str(),
              report.minimum, report.maximum);
  if (report.clamped)
    std::printf(", %llu clamped to the 16-bit range",
                static_cast<unsigned long long>(report.clamped));
  std::printf("\n");
  return 0;
}
