// The class factory of the band: creates band objects, plain or aggregated, and counts server locks.
#pragma once

#include <unknwn.h>

namespace ph::band {

// The library's one factory, made on first use; it lives as long as the library.
IClassFactory* BandClassFactory();

}  // namespace ph::band
