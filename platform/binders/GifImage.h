// One decoder handle of the GIF library; results as the image loaders expect them.
#pragma once
#include <windows.h>

class CGifImage {
 public:
  enum { GIF_OK = 0, GIF_FAILED = 3 };
  CGifImage() = default;
  ~CGifImage();
  CGifImage(const CGifImage&) = delete;
  CGifImage& operator=(const CGifImage&) = delete;

  // 0 when the decoder took the data, 3 when it failed or the library is missing.
  int LoadFromMemory(const void* data, DWORD size);
  int LoadFromFile(const char* path);
  // 0 without a handle.
  BOOL GetImageSize(int* width, int* height, int* frameCount);
  // 1 while frames remain; 0 without a handle.
  BOOL GetNextImage(HBITMAP* image, HBITMAP* mask, int* left, int* top, int* width, int* height, int* delay,
                    int* disposal, int* transparent, int* frameIndex);
  HANDLE GetHandle() const { return m_hGif; }

 private:
  void Close();
  HANDLE m_hGif = nullptr;
};
