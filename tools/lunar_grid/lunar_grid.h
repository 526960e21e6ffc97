// Conversion of a global lunar elevation image in PDS3 form (the LRO LOLA
// gridded elevation model, e.g. LDEM_16: 16 pixels a degree, signed 16-bit
// samples) into the program's lunar height grid: 5760 x 2880 little-endian
// int16 heights in metres above 1737.4 km, row 0 the northernmost, column 0
// at 0 degrees east.
//
// The image is read from its label: LINES, LINE_SAMPLES, SAMPLE_BITS = 16,
// SAMPLE_TYPE (LSB_INTEGER / PC_INTEGER or MSB_INTEGER / MAC_INTEGER /
// SUN_INTEGER), SCALING_FACTOR, OFFSET, and the ^IMAGE pointer (a record
// number of RECORD_BYTES, a byte position "<BYTES>", a file name, or a file
// name with a record or byte position). A sample's value is
// DN * SCALING_FACTOR + OFFSET metres; the LOLA products give radii that way
// (OFFSET = 1737400 m), so an OFFSET of 1000 km or more is taken as a radius
// offset and the reference radius 1737.4 km is subtracted; a smaller OFFSET
// is taken as a height offset as it stands.
//
// The image must cover the whole Moon (latitude +90 at its first line to -90
// at its last, 360 degrees of longitude from WESTERNMOST_LONGITUDE, 0 when not
// given) with square pixels, a whole number of times finer or coarser than the
// grid: coarser images repeat each pixel, finer ones are averaged in blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pds3_label.h"

namespace lunar_grid {

inline constexpr int kGridRows = 2880;
inline constexpr int kGridColumns = 5760;
inline constexpr double kReferenceRadius = 1737400;  // metres

struct ImageDescription {
  std::string imagePath;
  std::uint64_t byteOffset = 0;  // of the first sample in imagePath
  int lines = 0, samples = 0;
  bool bigEndian = false;
  double scalingFactor = 1, offset = 0;
  bool offsetIsRadius = false;  // subtract kReferenceRadius from each value
  double westernmostLongitude = 0;
};

// Describes the image of the label at the start of `labelPath` (a detached
// label, or an image file that begins with its label). False with a message
// when the label lacks what the conversion needs or describes another image.
bool DescribeImage(const std::string& labelPath, ImageDescription& image, std::string& error);
bool DescribeImageFromLabel(const Pds3Label& label, const std::string& labelPath,
                            ImageDescription& image, std::string& error);

struct ConversionReport {
  int factor = 1;                // pixels of the image per grid cell (or cells per pixel)
  bool averaged = false;         // true: the image was finer than the grid
  std::uint64_t clamped = 0;     // cells beyond the int16 range, clamped
  int minimum = 0, maximum = 0;  // metres, over the grid
};

// Resamples the image into rows x columns cells of int16 metres, row 0 the
// northernmost, column 0 starting at longitude 0 (the program's grid is
// kGridRows x kGridColumns). False with a message for an image that cannot be
// read whole or does not fit the grid by a whole factor.
bool ConvertImage(const ImageDescription& image, int rows, int columns,
                  std::vector<std::int16_t>& grid, ConversionReport& report, std::string& error);

// Writes the cells little-endian to `path` (through a temporary file beside
// it, so a failed write leaves no partial grid).
bool WriteGrid(const std::string& path, const std::vector<std::int16_t>& grid, std::string& error);

}  // namespace lunar_grid
