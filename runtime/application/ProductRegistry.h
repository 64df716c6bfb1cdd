// The product's values in the registry: under HKEY_LOCAL_MACHINE "Software\Vemo Company\Products\" + the
// product key name, a value path such as "System\GamePath" names the value "GamePath" of the sub-key
// "System". The installer writes them; the application reads its four root paths there.
//
// Texts are read whatever the value's type, up to the first zero or the end of the stored data, whichever
// comes first; they are written as REG_SZ with their terminating zero. Keys are opened, never created, and
// always closed again. Nothing here reports an error.
#pragma once

#include "foundation/String.h"

// The product's key, under HKEY_LOCAL_MACHINE.
Vemo::String ProductKeyPath(const Vemo::String& productKeyName);
// False when either name is empty.
bool ReadProductRegistryString(const Vemo::String& productKeyName, const Vemo::String& valuePath,
                               Vemo::String& out);
bool WriteProductRegistryString(const Vemo::String& productKeyName, const Vemo::String& valuePath,
                                const Vemo::String& text);
// A sub-key of HKEY_LOCAL_MACHINE. False for an empty value name, a key that does not open or a value that
// cannot be read.
bool ReadRegistryString(const Vemo::String& subKey, const Vemo::String& valueName, Vemo::String& out);
// Under HKEY_CURRENT_USER with currentUser; one trailing "\" of the sub-key is dropped.
bool WriteRegistryString(const Vemo::String& subKey, const Vemo::String& valueName, const Vemo::String& text,
                         bool currentUser);
// A full key path, split at its last "\" into the sub-key and the value name.
bool ReadRegistryStringByPath(const Vemo::String& keyPath, Vemo::String& out);
bool WriteRegistryStringByPath(const Vemo::String& keyPath, const Vemo::String& text);
