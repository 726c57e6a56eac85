// The bundled sample object file, samples/demo.iff: a handful of objects that
// show what the reader handles, built with the test builder.
#pragma once

#include "iff_builder.h"

namespace marrowick::tools {

test::Bytes DemoSample();

}  // namespace marrowick::tools
