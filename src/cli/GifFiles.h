#pragma once
// Former name of GifLoader.h, kept only while the jpeg command still includes it.

#include "GifLoader.h"
