// What the screen shows, as plain pixels, and pictures from resources.
#include <stdio.h>

#include "driver/ui_driver.h"

namespace ui {

std::string Describe(Rgb colour) {
  return "(" + std::to_string(colour.r) + "," + std::to_string(colour.g) + "," + std::to_string(colour.b) + ")";
}

namespace {

// Copies a device context's block into pixels through a 32-bit top-down DIB.
Pixels Grab(HDC source, int left, int top, int width, int height) {
  Pixels p;
  p.left = left;
  p.top = top;
  if (width <= 0 || height <= 0) return p;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) throw Failure("cannot make a bitmap of " + std::to_string(width) + "x" + std::to_string(height));
  HDC memory = CreateCompatibleDC(source);
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
  GdiFlush();
  p.width = width;
  p.height = height;
  p.rgb.resize((size_t)width * height);
  const BYTE* q = (const BYTE*)bits;
  for (size_t i = 0; i < p.rgb.size(); ++i, q += 4) p.rgb[i] = Rgb{q[2], q[1], q[0]};
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(section);
  return p;
}

}  // namespace

Pixels CaptureScreenRect(const RECT& rect) {
  HDC screen = GetDC(nullptr);
  Pixels p = Grab(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  ReleaseDC(nullptr, screen);
  return p;
}

Pixels CaptureScreen() {
  RECT all = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return CaptureScreenRect(all);
}

Pixels CaptureWindow(HWND window) { return CaptureScreenRect(ScreenRect(window)); }
Pixels CaptureClient(HWND window) { return CaptureScreenRect(ClientScreenRect(window)); }

bool SaveBmp(const Pixels& pixels, const std::string& path) {
  int stride = (pixels.width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = pixels.width;
  info.biHeight = pixels.height;  // bottom-up, as every viewer reads it
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = stride * pixels.height;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return false;
  fwrite(&file, sizeof(file), 1, out);
  fwrite(&info, sizeof(info), 1, out);
  std::vector<BYTE> row(stride, 0);
  for (int y = pixels.height - 1; y >= 0; --y) {
    for (int x = 0; x < pixels.width; ++x) {
      Rgb c = pixels.At(x, y);
      row[x * 3] = c.b;
      row[x * 3 + 1] = c.g;
      row[x * 3 + 2] = c.r;
    }
    fwrite(row.data(), 1, stride, out);
  }
  return fclose(out) == 0;
}

namespace {

// A module file opened as data: its resources can be read, its code never runs.
class DataModule {
 public:
  explicit DataModule(const std::string& file) : file_(WindowsPath(file)) {
    module_ = LoadLibraryExA(file_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module_) throw Failure("cannot open " + file_ + " to read its resources");
  }
  ~DataModule() { FreeLibrary(module_); }
  DataModule(const DataModule&) = delete;
  DataModule& operator=(const DataModule&) = delete;
  HMODULE Handle() const { return module_; }
  const std::string& File() const { return file_; }

 private:
  std::string file_;
  HMODULE module_;
};

}  // namespace

Pixels BitmapResource(const std::string& moduleFile, const char* name) {
  DataModule module(moduleFile);
  HRSRC found = FindResourceA(module.Handle(), name, (LPCSTR)RT_BITMAP);
  if (!found) throw Failure(module.File() + " carries no bitmap resource " + name);
  const BYTE* data = (const BYTE*)LockResource(LoadResource(module.Handle(), found));
  DWORD size = SizeofResource(module.Handle(), found);
  const BITMAPINFOHEADER* h = (const BITMAPINFOHEADER*)data;
  if (!data || size < sizeof(BITMAPINFOHEADER) || h->biSize < sizeof(BITMAPINFOHEADER))
    throw Failure(std::string("bitmap resource ") + name + " has no bitmap header");
  if (h->biCompression != BI_RGB || (h->biBitCount != 24 && h->biBitCount != 32 && h->biBitCount != 8))
    throw Failure(std::string("bitmap resource ") + name + " is not an uncompressed 8, 24 or 32-bit bitmap");

  Pixels p;
  p.width = h->biWidth;
  p.height = h->biHeight < 0 ? -h->biHeight : h->biHeight;
  int colours = h->biBitCount == 8 ? (h->biClrUsed ? (int)h->biClrUsed : 256) : 0;
  const RGBQUAD* table = (const RGBQUAD*)(data + h->biSize);
  const BYTE* bits = data + h->biSize + colours * sizeof(RGBQUAD);
  size_t stride = ((size_t)h->biBitCount * p.width + 31) / 32 * 4;
  if (bits + stride * p.height > data + size)
    throw Failure(std::string("bitmap resource ") + name + " is shorter than its header says");
  p.rgb.resize((size_t)p.width * p.height);
  for (int y = 0; y < p.height; ++y) {
    const BYTE* row = bits + stride * (h->biHeight < 0 ? y : p.height - 1 - y);
    for (int x = 0; x < p.width; ++x) {
      Rgb& c = p.rgb[(size_t)y * p.width + x];
      if (h->biBitCount == 8) {
        const RGBQUAD& q = table[row[x] < colours ? row[x] : 0];
        c = Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue};
      } else {
        const BYTE* q = row + x * (h->biBitCount / 8);
        c = Rgb{q[2], q[1], q[0]};
      }
    }
  }
  return p;
}

std::string StringResource(const std::string& moduleFile, UINT id) {
  DataModule module(moduleFile);
  std::vector<char> text(65536);
  int length = LoadStringA(module.Handle(), id, text.data(), (int)text.size());
  if (length <= 0) throw Failure(module.File() + " carries no string " + std::to_string(id));
  return std::string(text.data(), length);
}

}  // namespace ui
