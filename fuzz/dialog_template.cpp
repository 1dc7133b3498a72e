// Dialog templates: any bytes must be refused or parsed within bounds.
#include <cstddef>
#include <cstdint>

#include "resources/dialog_template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    win::res::DialogTemplate parsed;
    win::res::ParseDialogTemplate(data, size, parsed);
    return 0;
}
