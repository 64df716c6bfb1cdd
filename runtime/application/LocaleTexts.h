// The texts the application shows on its own (error boxes, the disc prompt): each is looked up by its key in
// the application's text locale, so that a title can word or translate them, and falls back to the built-in
// English text when there is no locale or it lacks the key.
#pragma once

#include "foundation/String.h"

// The built-in text of a key, or null for a key without one.
const char* BuiltInText(const char* key);
// The locale's text of the key, else the built-in text, else the empty text.
Vemo::String LocaleText(const char* key);
