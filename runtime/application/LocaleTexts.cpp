#include "runtime/application/LocaleTexts.h"

#include "runtime/application/MultimediaApplication.h"
#include "script/TextLocale.h"

#include <cstring>

namespace {

struct BuiltIn {
    const char* key;
    const char* text;
};

constexpr BuiltIn kBuiltInTexts[] = {
    {"ERR_TITLE", "Problem detected!"},
    {"ERR_FINDFILE", "A file could not be found. Reinstall the product and try "
                     "again. If the problem persists, you may have a "
                     "corrupt CD. Make sure that the CD is not dirty or "
                     "scratched in any way, and if the problem persists, you "
                     "may require a new CD."},
    {"ERR_FILETITLE", "Problem reading file or directory!"},
    {"ERR_MAINWINDOW", "The main window could not be created. Too many other programs may be "
                       "running or you may "
                       "be running out of memory. Shut down all other programs and try again."},
    {"ERR_CANTOPENREGDIR", "The registry has been corrupted. You need to reinstall the program so "
                           "that settings may be restored."},
    {"ERR_WRONGPLATFORM", "This program will only run under Windows 95 or "
                          "later or Windows 2000 or later."},
    {"ERR_DISPLAYMODE", "DirectDraw could not switch to the requested screen "
                        "mode required by this program."},
    {"ERR_NODD", "DirectDraw could not be found. Your display may be set to 16 "
                 "colors. Change the color depth to "
                 "a higher value and try again. Or reinstall this product and "
                 "make sure DirectX is being "
                 "installed in the process."},
    {"ERR_NOQT", "QuickTime has not been installed properly onto your system. Please "
                 "reinstall this product and "
                 "make sure QuickTime is being installed in the process. Then try again."},
    {"ERR_LOWMEMORY", "Systems or data failed to setup. You may be running out "
                      "of memory. Shut down all other "
                      "programs and try again."},
    {"ERR_GENERIC", "A terminal error has occurred in your program. Shut down "
                    "all other running programs and try "
                    "again. You may also have to reinstall the product."},
    {"ERR_QTDXCOOP", "QuickTime has problems cooperating with DirectDraw. "
                     "QuickTime or DirectX may not have been installed "
                     "properly. Please reinstall this product and make sure "
                     "both QuickTime and DirectX are being installed in "
                     "the process. Make sure that hardware acceleration is "
                     "turned on for DirectDraw and then try again."},
    {"ERR_DISPLAYNOEXCLUSIVE", "DirectDraw could not request an exclusive display, probably because "
                               "another "
                               "program is using it. Shut down all other programs and try again."},
    {"ERR_DISPLAYNOMEM", "Allocating memory on your graphics card has failed. "
                         "Shut down all other programs and try "
                         "again. If the problem persists, your graphics card "
                         "has inadequate memory and should be "
                         "upgraded."},
    {"ERR_INSERTCDBODY", "Please insert the %s CD into your CD-ROM drive."},
    {"ERR_INSERTCDTITLE", "Insert CD!"},
};

} // namespace

const char* BuiltInText(const char* key) {
    for (const BuiltIn& entry : kBuiltInTexts) {
        if (std::strcmp(entry.key, key) == 0) {
            return entry.text;
        }
    }
    return nullptr;
}

Vemo::String LocaleText(const char* key) {
    Vemo::String text;
    MultimediaApplication* application = MultimediaApplication::Instance();
    TextLocale* locale = application != nullptr ? application->GetTextLocaleTable() : nullptr;
    if (locale != nullptr && locale->Lookup(Vemo::String(key), text)) {
        return text;
    }
    const char* builtIn = BuiltInText(key);
    return Vemo::String(builtIn != nullptr ? builtIn : "");
}
