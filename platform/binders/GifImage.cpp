#include "GifImage.h"

#include "OutsideLibrary.h"

CGifImage::~CGifImage() { Close(); }

void CGifImage::Close() {
  if (m_hGif) {
    const GIF_LIBRARY* lib = GetGifLibrary();
    if (lib) lib->pCloseGifHandle(m_hGif);
    m_hGif = nullptr;
  }
}

int CGifImage::LoadFromMemory(const void* data, DWORD size) {
  Close();
  const GIF_LIBRARY* lib = GetGifLibrary();
  if (!lib || !data || size == 0) return GIF_FAILED;
  m_hGif = lib->pLoadGifFromMem(data, size);
  return m_hGif ? GIF_OK : GIF_FAILED;
}

int CGifImage::LoadFromFile(const char* path) {
  Close();
  const GIF_LIBRARY* lib = GetGifLibrary();
  if (!lib || !path) return GIF_FAILED;
  m_hGif = lib->pLoadGifFile(path);
  return m_hGif ? GIF_OK : GIF_FAILED;
}

BOOL CGifImage::GetImageSize(int* width, int* height, int* frameCount) {
  const GIF_LIBRARY* lib = m_hGif ? GetGifLibrary() : nullptr;
  if (!lib) return FALSE;
  return lib->pGetImageSize(m_hGif, width, height, frameCount);
}

BOOL CGifImage::GetNextImage(HBITMAP* image, HBITMAP* mask, int* left, int* top, int* width, int* height, int* delay,
                             int* disposal, int* transparent, int* frameIndex) {
  const GIF_LIBRARY* lib = m_hGif ? GetGifLibrary() : nullptr;
  if (!lib) return FALSE;
  return lib->pGetNextImage(m_hGif, image, mask, left, top, width, height, delay, disposal, transparent, frameIndex);
}
