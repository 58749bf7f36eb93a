#pragma once

#include "jobs/JobRequest.h"

namespace lockvale {

// What one mode shows and where, in twips: vertical positions are measured inside
// the details frame for the controls in it and inside the client area for the rest.
struct ModeLayout {
  bool filesShown;  // file names, Browse buttons and file options; otherwise the text
  bool batchListShown;
  int keyTop, blockSizeTop, keySizeTop;
  int executeRowTop;  // Execute, the direction options and the progress bar
  int frameHeight;
  int windowOuterHeight;
  const char* encryptCaption;
  const char* decryptCaption;
};

const ModeLayout& LayoutFor(JobMode mode);

}  // namespace lockvale
