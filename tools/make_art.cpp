// Draws the program's background bitmap and icons; run by hand, its outputs are committed in res/.
//   g++ -std=c++17 -O2 -o /tmp/make_art tools/make_art.cpp && /tmp/make_art res
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Rgb {
  double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Scale(Rgb c, double k) {
  return {c.r * k, c.g * k, c.b * k};
}
double Smooth(double t) {
  return t * t * (3 - 2 * t);
}
double Clamp01(double v) {
  return std::min(1.0, std::max(0.0, v));
}
uint8_t Byte(double v) {
  return static_cast<uint8_t>(std::lround(Clamp01(v / 255.0) * 255.0));
}

// Integer hash noise: the same pixels on every machine and every run.
double Hash(int x, int y, uint32_t seed) {
  uint32_t h =
      static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / static_cast<double>(0x1000000);
}

double ValueNoise(double x, double y, uint32_t seed) {
  const int ix = static_cast<int>(std::floor(x));
  const int iy = static_cast<int>(std::floor(y));
  const double fx = Smooth(x - ix);
  const double fy = Smooth(y - iy);
  const double top = Hash(ix, iy, seed) + (Hash(ix + 1, iy, seed) - Hash(ix, iy, seed)) * fx;
  const double bottom = Hash(ix, iy + 1, seed) + (Hash(ix + 1, iy + 1, seed) - Hash(ix, iy + 1, seed)) * fx;
  return top + (bottom - top) * fy;
}

// Fractal sum of octaves, about 0..1.
double Turbulence(double x, double y, uint32_t seed, int octaves = 5) {
  double sum = 0, amplitude = 0.5, weight = 0;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += ValueNoise(x, y, seed + octave) * amplitude;
    weight += amplitude;
    x *= 2.03;
    y *= 2.03;
    amplitude *= 0.5;
  }
  return sum / weight;
}

void PutLE(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bitCount, uint32_t imageSize,
                   uint32_t colours) {
  PutLE(out, 40, 4);
  PutLE(out, static_cast<uint32_t>(width), 4);
  PutLE(out, static_cast<uint32_t>(height), 4);
  PutLE(out, 1, 2);
  PutLE(out, static_cast<uint32_t>(bitCount), 2);
  PutLE(out, 0, 4);  // BI_RGB
  PutLE(out, imageSize, 4);
  PutLE(out, 2835, 4);  // 72 dpi
  PutLE(out, 2835, 4);
  PutLE(out, colours, 4);
  PutLE(out, 0, 4);
}

// ---- The window background: marbled pastel swirls darkening into a frame.

constexpr int kBackgroundWidth = 180;
constexpr int kBackgroundHeight = 120;

// Colour bands cycle blue, green, salmon along a direction that a twice-warped turbulence bends
// into swirls; thin light veins run along the bands.
Rgb MarbleColour(double x, double y) {
  const Rgb blue{152, 190, 238}, green{160, 222, 176}, salmon{246, 172, 146};
  const double s = 0.02;
  const double qx = Turbulence(x * s, y * s, 11, 3);
  const double qy = Turbulence(x * s + 5.2, y * s + 1.3, 17, 3);
  const double rx = Turbulence(x * s + 4 * qx + 1.7, y * s + 4 * qy + 9.2, 23, 4);
  const double u = x * 0.035 + y * 0.02 + rx * 14;
  const double phase = u / (2 * 3.14159265358979) * 2.2;
  const double fraction = phase - std::floor(phase);
  const int which = static_cast<int>(std::floor(phase)) % 3;
  const Rgb colours[3] = {blue, green, salmon};
  Rgb base = Mix(colours[(which + 3) % 3], colours[(which + 4) % 3], Smooth(fraction));
  const double wave = std::sin(u * 2.0);
  const double vein = std::exp(-wave * wave * 40.0);
  base = Mix(base, Rgb{252, 250, 245}, 0.45 * vein);
  return Scale(base, 0.93 + 0.07 * Turbulence(x * 0.15, y * 0.15, 53, 2));
}

// 1 inside, falling toward the edges, with a thin bevelled rim.
double FrameShade(int x, int y) {
  const int edge = std::min(std::min(x, kBackgroundWidth - 1 - x), std::min(y, kBackgroundHeight - 1 - y));
  if (edge == 0) return 0.30;
  if (edge == 1) return 0.55;
  const double t = Clamp01((edge - 2) / 6.0);
  return 0.68 + 0.32 * Smooth(t);
}

bool WriteBackground(const std::string& path) {
  const int rowBytes = kBackgroundWidth * 3;  // 540, already a multiple of four
  const uint32_t imageSize = static_cast<uint32_t>(rowBytes * kBackgroundHeight);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  PutLE(out, 14 + 40 + imageSize, 4);
  PutLE(out, 0, 4);
  PutLE(out, 14 + 40, 4);
  PutInfoHeader(out, kBackgroundWidth, kBackgroundHeight, 24, imageSize, 0);
  for (int row = kBackgroundHeight - 1; row >= 0; --row) {
    for (int x = 0; x < kBackgroundWidth; ++x) {
      // Four samples per pixel keep the veins smooth.
      Rgb sum{0, 0, 0};
      for (int s = 0; s < 4; ++s) {
        const Rgb c = MarbleColour(x + 0.25 + 0.5 * (s & 1), row + 0.25 + 0.5 * (s >> 1));
        sum = {sum.r + c.r / 4, sum.g + c.g / 4, sum.b + c.b / 4};
      }
      const Rgb c = Scale(sum, FrameShade(x, row));
      out.push_back(Byte(c.b));
      out.push_back(Byte(c.g));
      out.push_back(Byte(c.r));
    }
  }
  return WriteFile(path, out);
}

// ---- Icons: 16-colour images drawn with palette indices, transparent outside the shape.

enum Colour : uint8_t {
  kClear,  // transparent (masked)
  kBlack,
  kPanel,
  kPanelLight,
  kRim,
  kGrid,
  kGreenDark,
  kGreen,
  kGreenLight,
  kRedDark,
  kRed,
  kRedLight,
  kYellow,
  kWhite,
  kGrey,
  kBlue,
};

const std::array<std::array<uint8_t, 3>, 16> kPalette = {{
    {0, 0, 0},
    {0, 0, 0},
    {16, 22, 40},
    {30, 40, 66},
    {120, 140, 170},
    {0, 0, 150},
    {0, 120, 40},
    {0, 200, 60},
    {150, 255, 150},
    {140, 20, 20},
    {230, 40, 40},
    {255, 150, 140},
    {255, 240, 0},
    {255, 255, 255},
    {128, 128, 128},
    {60, 110, 230},
}};

struct IconImage {
  int size;
  std::vector<uint8_t> pixels;  // palette index per pixel, top row first
  uint8_t& at(int x, int y) { return pixels[static_cast<size_t>(y * size + x)]; }
  explicit IconImage(int s) : size(s), pixels(static_cast<size_t>(s * s), kClear) {}
};

void FillRect(IconImage& image, int x0, int y0, int x1, int y1, uint8_t colour) {
  for (int y = std::max(0, y0); y <= std::min(image.size - 1, y1); ++y)
    for (int x = std::max(0, x0); x <= std::min(image.size - 1, x1); ++x) image.at(x, y) = colour;
}

// A dark rounded tile with a light rim and the blue grid rows of the tray meter.
void DrawTile(IconImage& image, int margin, int gridStep) {
  const int n = image.size;
  const int lo = margin, hi = n - 1 - margin;
  const int corner = n >= 32 ? 3 : 2;
  for (int y = lo; y <= hi; ++y) {
    for (int x = lo; x <= hi; ++x) {
      const int dx = std::max(0, std::max(lo + corner - x, x - (hi - corner)));
      const int dy = std::max(0, std::max(lo + corner - y, y - (hi - corner)));
      const int d2 = dx * dx + dy * dy;
      if (d2 > corner * corner) continue;
      const bool rim = x == lo || x == hi || y == lo || y == hi || d2 > (corner - 1) * (corner - 1);
      image.at(x, y) = rim ? kRim : (y < n / 2 ? kPanelLight : kPanel);
    }
  }
  for (int y = hi - 2; y > lo + 1; y -= gridStep)
    for (int x = lo + 2; x <= hi - 2; ++x) image.at(x, y) = kGrid;
}

// A bar with a highlight on its left and a shadow on its right.
void DrawBar(IconImage& image, int x0, int x1, int top, int bottom, uint8_t light, uint8_t mid,
             uint8_t dark) {
  FillRect(image, x0, top, x1, bottom, mid);
  FillRect(image, x0, top, x0, bottom, light);
  FillRect(image, x1, top, x1, bottom, dark);
  FillRect(image, x0, top, x1, top, light);
}

IconImage MeterIcon(int size) {
  IconImage image(size);
  if (size >= 32) {
    DrawTile(image, 1, 6);
    DrawBar(image, 7, 14, 7, 27, kGreenLight, kGreen, kGreenDark);
    DrawBar(image, 17, 24, 15, 27, kRedLight, kRed, kRedDark);
    FillRect(image, 7, 11, 11, 11, kYellow);
    FillRect(image, 21, 12, 24, 12, kYellow);
  } else {
    DrawTile(image, 0, 4);
    DrawBar(image, 3, 6, 3, 13, kGreenLight, kGreen, kGreenDark);
    DrawBar(image, 9, 12, 7, 13, kRedLight, kRed, kRedDark);
    FillRect(image, 3, 5, 5, 5, kYellow);
    FillRect(image, 10, 9, 12, 9, kYellow);
  }
  return image;
}

// The interface list's picture: a network card edge with a received and a sent arrow.
IconImage InterfaceIcon() {
  IconImage image(16);
  DrawTile(image, 0, 16);
  // Down arrow (received), green, on the left.
  FillRect(image, 4, 3, 5, 9, kGreen);
  for (int i = 0; i < 3; ++i) FillRect(image, 2 + i, 9 + i, 7 - i, 9 + i, kGreen);
  FillRect(image, 4, 3, 4, 9, kGreenLight);
  // Up arrow (sent), red, on the right.
  FillRect(image, 10, 6, 11, 12, kRed);
  for (int i = 0; i < 3; ++i) FillRect(image, 8 + i, 6 - i, 13 - i, 6 - i, kRed);
  FillRect(image, 10, 6, 10, 12, kRedLight);
  // Contacts along the bottom edge.
  for (int x = 3; x <= 12; x += 2) image.at(x, 14) = kYellow;
  return image;
}

std::vector<uint8_t> IconImageBytes(const IconImage& image) {
  const int n = image.size;
  const int colourRow = ((n * 4 + 31) / 32) * 4;
  const int maskRow = ((n + 31) / 32) * 4;
  std::vector<uint8_t> out;
  PutInfoHeader(out, n, n * 2, 4, static_cast<uint32_t>((colourRow + maskRow) * n), 16);
  for (const auto& c : kPalette) {
    out.push_back(c[2]);
    out.push_back(c[1]);
    out.push_back(c[0]);
    out.push_back(0);
  }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(static_cast<size_t>(colourRow), 0);
    for (int x = 0; x < n; ++x) {
      const uint8_t index = image.pixels[static_cast<size_t>(y * n + x)];
      row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 == 0 ? index << 4 : index);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(static_cast<size_t>(maskRow), 0);
    for (int x = 0; x < n; ++x)
      if (image.pixels[static_cast<size_t>(y * n + x)] == kClear)
        row[static_cast<size_t>(x / 8)] |= 0x80 >> (x % 8);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

bool WriteIcon(const std::string& path, const std::vector<IconImage>& images) {
  std::vector<std::vector<uint8_t>> blobs;
  for (const auto& image : images) blobs.push_back(IconImageBytes(image));
  std::vector<uint8_t> out;
  PutLE(out, 0, 2);
  PutLE(out, 1, 2);
  PutLE(out, static_cast<uint32_t>(images.size()), 2);
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<uint8_t>(images[i].size));
    out.push_back(static_cast<uint8_t>(images[i].size));
    out.push_back(16);
    out.push_back(0);
    PutLE(out, 1, 2);
    PutLE(out, 4, 2);
    PutLE(out, static_cast<uint32_t>(blobs[i].size()), 4);
    PutLE(out, offset, 4);
    offset += static_cast<uint32_t>(blobs[i].size());
  }
  for (const auto& blob : blobs) out.insert(out.end(), blob.begin(), blob.end());
  return WriteFile(path, out);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "res";
  bool ok = WriteBackground(dir + "/background.bmp");
  ok = WriteIcon(dir + "/app.ico", {MeterIcon(16), MeterIcon(32)}) && ok;
  ok = WriteIcon(dir + "/about.ico", {MeterIcon(32)}) && ok;
  ok = WriteIcon(dir + "/interface.ico", {InterfaceIcon()}) && ok;
  ok = WriteIcon(dir + "/window.ico", {MeterIcon(32)}) && ok;
  if (!ok) std::fprintf(stderr, "make_art: cannot write the pictures into %s\n", dir.c_str());
  return ok ? 0 : 1;
}
