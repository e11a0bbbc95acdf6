#pragma once
// The GIF codec as the optimizer, the command line and the fuzz targets use it: the image
// model (TGIFImage with its header, frames, extensions and colour tables), reading and
// writing whole files, the pixel limits and the memory budget. Drawing and playing live in
// src/gifrender; the pixel coders (LZWEncoder.h, SmallestLzw.h, ...) have headers of their own.

#include "gif/GIFException.h"
#include "gif/GIFExtensions.h"
#include "gif/GIFImage.h"
#include "gif/GIFLimits.h"
#include "gif/GIFMemoryBudget.h"
