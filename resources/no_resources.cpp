// An empty resource directory. The art generator links the module's code to
// read its element records; it does so with this stand-in, so that drawing the
// resources never needs the resources it is drawing.
#include "module/exports.h"

extern "C" {
const ardelvine::ResourceDirectory Resources = {0, nullptr};
}
