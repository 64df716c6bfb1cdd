// Where a locale reference in a script value ("KEY(Table)" read as text) finds its table: the application,
// which finds, loads and caches the locale files, installs itself here.
#pragma once

class Fragment;
class TextLocale;

class TextLocaleProvider {
public:
    virtual ~TextLocaleProvider();

    // The table named by the fragment's text, or null when there is none.
    virtual TextLocale* GetTextLocale(const Fragment& name) = 0;

    // Null until a provider is installed; reads of locale references then leave their targets unchanged.
    static TextLocaleProvider* GetCurrent();
    static void SetCurrent(TextLocaleProvider* provider);
};
