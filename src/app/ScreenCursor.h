#pragma once
// TScreenCursor: shows the screen cursor a window model asks for over the whole program,
// above the cursors of the controls, until the model asks for the default again.

#include "platform/Cursor.h"

namespace corvane {

class TScreenCursor {
 public:
  TScreenCursor() = default;
  ~TScreenCursor();
  TScreenCursor(const TScreenCursor&) = delete;
  TScreenCursor& operator=(const TScreenCursor&) = delete;

  void Show(TCursor cursor);

 private:
  bool FOverridden = false;
};

}  // namespace corvane
