#include "mainwindow/ModeLayout.h"

namespace lockvale {

namespace {

constexpr ModeLayout kSingleFile{.filesShown = true,
                                 .batchListShown = false,
                                 .keyTop = 1680,
                                 .blockSizeTop = 2040,
                                 .keySizeTop = 2400,
                                 .executeRowTop = 3600,
                                 .frameHeight = 3375,
                                 .windowOuterHeight = 5300,
                                 .encryptCaption = "Encrypt File",
                                 .decryptCaption = "Decrypt File"};

constexpr ModeLayout kMultipleFiles{.filesShown = true,
                                    .batchListShown = true,
                                    .keyTop = 1680,
                                    .blockSizeTop = 2040,
                                    .keySizeTop = 2400,
                                    .executeRowTop = 6960,
                                    .frameHeight = 3375,
                                    .windowOuterHeight = 8580,
                                    .encryptCaption = "Encrypt Files",
                                    .decryptCaption = "Decrypt Files"};

constexpr ModeLayout kText{.filesShown = false,
                           .batchListShown = false,
                           .keyTop = 2760,
                           .blockSizeTop = 3120,
                           .keySizeTop = 3480,
                           .executeRowTop = 4320,
                           .frameHeight = 4095,
                           .windowOuterHeight = 5985,
                           .encryptCaption = "Encrypt text",
                           .decryptCaption = "Decrypt text"};

}  // namespace

const ModeLayout& LayoutFor(JobMode mode) {
  switch (mode) {
    case JobMode::MultipleFiles:
      return kMultipleFiles;
    case JobMode::Text:
      return kText;
    case JobMode::SingleFile:
      break;
  }
  return kSingleFile;
}

}  // namespace lockvale
