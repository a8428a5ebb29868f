// CODThemeImage: an image of the owner-drawn theme. Either a bitmap cut into cells (one row
// of states, each with animation frames, or a grid of states by frames), optionally with a
// key colour and a window shape from it, or the frames of a GIF file.
#pragma once
#include <afxwin.h>

#include <vector>

class CGifImage;

class CODThemeImage {
 public:
  enum { KIND_NONE = 0, KIND_BITMAP = 1, KIND_GIF = 2 };
  enum { DRAW_SINGLE = 0, DRAW_TILED = 1, DRAW_STRETCH = 2 };

  struct GifFrame {
    HBITMAP hImage = nullptr;
    HBITMAP hMask = nullptr;
    int left = 0, top = 0, width = 0, height = 0;
    int delay = 0, disposal = 0, transparent = 0;
  };

  CODThemeImage();
  virtual ~CODThemeImage();

  // Copies the bitmap (the caller keeps its own). Key selector -1: no key colour; 0..3 the
  // pixel at the top-left, bottom-left, top-right or bottom-right corner; anything else the
  // key COLORREF itself. Returns 0 without change for a null bitmap, counts below 1, a
  // negative extra value or a running animation.
  int LoadFromBitmap(HBITMAP hBitmap, int nKeySelector, int nCellCount, int nStateCount, int nFramesPerState,
                     int nExtraValue, BOOL bGridLayout);
  // The frames of a GIF file (path trimmed of blanks); 0 when it cannot be read.
  int LoadFromGifFile(LPCSTR lpszPath);

  void GetFrameRect(int nState, RECT* pRect) const;
  // The part of the rectangle that the image leaves see-through: the rectangle less the
  // image's shape (one cell at the corner in mode 0, cells repeated over it otherwise). Null
  // without a shape, in stretch mode or for an empty rectangle. The caller owns the region.
  HRGN GetShapeRegion(const RECT& rc, int nState) const;

  // Returns the running mark (non-zero while the animation runs), 0 for one frame or less.
  UINT_PTR StartAnimation();
  // Returns whether the animation is stopped; bReset puts the first frame back.
  BOOL StopAnimation(BOOL bReset);
  void Clear();

  int SetDrawMode(int nMode) {
    int old = m_nDrawMode;
    m_nDrawMode = nMode;
    return old;
  }

  // Virtual operations: the owner's animation timer calls OnAnimationTimer to advance a
  // frame; Draw paints the state's current frame by the draw mode.
  virtual void OnAnimationTimer();
  virtual UINT_PTR OnStartAnimation();
  virtual BOOL OnStopAnimation();
  virtual void Draw(HDC hDC, const RECT& rc, int nState);

  BOOL IsEmpty() const { return m_bEmpty; }
  int GetKind() const { return m_nKind; }
  int GetExtraValue() const { return m_nExtraValue; }
  int GetFramesPerState() const { return m_nFramesPerState; }
  int GetStateCount() const { return m_nStateCount; }
  int GetCellWidth() const { return m_nCellWidth; }
  int GetCellHeight() const { return m_nCellHeight; }
  int GetCurrentFrame() const { return m_nCurrentFrame; }
  BOOL HasShape() const { return m_bHasShape; }
  COLORREF GetKeyColour() const { return m_crKey; }
  HBITMAP GetBitmap() const { return m_hBitmap; }
  const std::vector<GifFrame>& GetGifFrames() const { return m_frames; }

  // Set by a user that wants no window shape even with a key colour.
  BOOL m_bNoShape;

 protected:
  BOOL m_bEmpty;
  int m_nExtraValue;
  int m_nDrawMode;
  int m_nFramesPerState;
  int m_nStateCount;
  HBITMAP m_hBitmap;  // 32-bit top-down DIB section, the image's own copy
  int m_nWidth, m_nHeight;
  UINT_PTR m_nAnimation;
  int m_nCurrentFrame;
  BOOL m_bAnimating;
  int m_nCellWidth, m_nCellHeight;
  CGifImage* m_pGif;
  std::vector<GifFrame> m_frames;
  int m_nKind;
  BOOL m_bHasShape;
  BOOL m_bGridLayout;
  COLORREF m_crKey;
  std::vector<BYTE> m_region;  // RGNDATA of one cell's shape
};

// Copies any bitmap into a 32-bit top-down DIB section; pBits receives its pixels.
HBITMAP CopyToDib32(HBITMAP hSrc, int* pWidth, int* pHeight, DWORD** ppBits);
// Every pixel of the bitmap that is not the key colour, as a region.
HRGN KeyedRegionFromBitmap(HBITMAP hBitmap, COLORREF crKey);
