#include "module/exports.h"

extern "C" {
const ardelvine::ResourceDirectory Resources = {0, nullptr};
}
