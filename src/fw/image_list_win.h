// An owned image list: destroyed with the object unless handed over with Detach.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

class CImageList {
 public:
  CImageList() = default;
  ~CImageList() { Destroy(); }
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  // flags: ILC_COLOR... optionally with ILC_MASK. Replaces a list already held.
  bool Create(int width, int height, UINT flags, int initial, int grow) {
    Destroy();
    images = ImageList_Create(width, height, flags, initial, grow);
    return images != nullptr;
  }
  // index -1 appends; returns the image's index, or -1.
  int ReplaceIcon(int index, HICON icon) const { return ImageList_ReplaceIcon(images, index, icon); }
  int AddIcon(HICON icon) const { return ReplaceIcon(-1, icon); }
  int GetImageCount() const { return ImageList_GetImageCount(images); }
  HIMAGELIST handle() const { return images; }
  // Gives up ownership, for a control that destroys the list itself.
  HIMAGELIST Detach() {
    HIMAGELIST held = images;
    images = nullptr;
    return held;
  }
  void Destroy() {
    if (images) ImageList_Destroy(images);
    images = nullptr;
  }

 private:
  HIMAGELIST images = nullptr;
};
