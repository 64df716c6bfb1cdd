#include "runtime/ApplicationServices.h"

#include "foundation/String.h"
#include "resources/error/Error.h"
#include "resources/storage/Path.h"

namespace {

ApplicationServices* g_current = nullptr;

} // namespace

ApplicationServices* ApplicationServices::Current() {
    return g_current;
}

void ApplicationServices::SetCurrent(ApplicationServices* services) {
    g_current = services;
}

void ReportUnreadableFile(const Vemo::Path& path) {
    Vemo::String text;
    path.GetText(text, true, true);
    RaiseError(ApplicationServices::kErrorFileUnreadable, &text);
}
