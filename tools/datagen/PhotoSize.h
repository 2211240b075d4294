#pragma once
// zdjar5.bb serves 1280x960 (and 800x600), zdjar3.bb serves 1024x768.
#include "content/PhotoSizes.h"
