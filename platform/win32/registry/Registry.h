// The registry: keys and their values, kept in a text file of the host, the store.
//
// The store is the file VEMO_REGISTRY names, else $XDG_CONFIG_HOME/vemo/registry.txt ($XDG_CONFIG_HOME being
// ~/.config when it is not set). A store that does not exist is an empty registry; the first write creates
// it and its folder. Every write replaces the whole file in one step (a temporary file beside it, written,
// flushed to the disk, then renamed over it), under a lock file beside it (FILE.lock), after reading the file
// again, so that processes sharing a store never lose each other's changes. Between writes the store is read
// again whenever the file changed. A store that exists must be a regular file (or a link to one) of 64 MiB at
// most: anything else (a device, a FIFO, a folder) or a larger file ends the program with a message naming it
// and exit code 2, as every later registry call would find it too.
//
// The four roots HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_USERS are separate trees
// (no root here is a view of another). HKEY_CURRENT_USER "Control Panel\Desktop", the user's desktop
// settings, is always there, as on Windows, even in a store that does not name it. Key and value names are
// matched without regard to case and keep the spelling they were created with.
//
// The file is bytes in the code page of the emulated machine, one key or value a line:
//
//     store   = { line "\n" }                 a "\r" before the "\n" is dropped
//     line    = blank | comment | key | value blanks (spaces, tabs) may start any line
//     comment = "#" { any byte }
//     key     = "[" root { "\" name } "]"       the line ends at the "]"
//     root    = "HKEY_CLASSES_ROOT" | "HKEY_CURRENT_USER" | "HKEY_LOCAL_MACHINE" | "HKEY_USERS"
//             | "HKCR" | "HKCU" | "HKLM" | "HKU"
//     name    = one or more bytes, none of them "\" or a control byte (below 0x20, or 0x7F)
//     value   = ( "@" | quoted ) "=" data        "@" is the key's unnamed (default) value
//     quoted  = '"' { byte | "\\" | "\"" | "\x" hex hex } '"'   any name; "\" and '"' escaped, control
//                                                              bytes written as \xHH
//     data    = "sz:" { byte }                  REG_SZ: the rest of the line and one terminating zero
//             | "hex(" type "):" { hex hex }    any type (a decimal number), the bytes exactly
//
// for example
//
//     [HKEY_LOCAL_MACHINE\Software\Vemo Company\Products\Quorven ZUT Plexotron\System]
//     "GamePath"=sz:C:\Titles\Demo
//     "Flags"=hex(4):2a000000
//
// A value belongs to the key line above it; a key line names the key and the keys on its way, which all
// exist from then on; a key may be named by several lines. A value named twice in one key, a value before any
// key, an unknown root or any other line breaks the store: it is then not used at all (every call fails with
// ERROR_BADDB, and nothing is written over it) and the reason is said once on the standard error, with the
// file and the line. Written stores carry every key that has values or no sub-keys, each followed by its
// values; comments are not kept.
#pragma once

#include "platform/win32/LastError.h"
#include "platform/win32/Types.h"

#include <string>
#include <vector>

namespace win32 {

struct HKEYTag;
using HKEY = HKEYTag*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LSTATUS = LONG;

// The roots, with the values Windows gives them (sign-extended, as Windows does; the 32-bit values name them
// too).
inline HKEY const HKEY_CLASSES_ROOT =
    reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000000)));
inline HKEY const HKEY_CURRENT_USER =
    reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000001)));
inline HKEY const HKEY_LOCAL_MACHINE =
    reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000002)));
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000003)));

// Value types. The store keeps any type number; these are the ones with names.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

// Access rights. A key opened without KEY_QUERY_VALUE cannot be read, one without KEY_SET_VALUE not written;
// the roots allow everything.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_READ = 0x00020019;
constexpr REGSAM KEY_WRITE = 0x00020006;
constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;

constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NOACCESS = 998;
constexpr LONG ERROR_BADDB = 1009;
constexpr LONG ERROR_KEY_DELETED = 1018;
constexpr LONG ERROR_BAD_PATHNAME = 161;

// Opens an existing key below key (a root or an open key); a null or empty subKey opens key itself again.
// Names are separated by "\"; one "\" at the end is ignored, any other empty name fails with
// ERROR_BAD_PATHNAME. ERROR_FILE_NOT_FOUND when the key does not exist (keys are never created here),
// ERROR_INVALID_HANDLE for a key that is not open. options is not used. The result is a new handle, closed
// with RegCloseKey.
LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result);

// Reads a value (a null or empty name: the unnamed one) as it was stored: its type through type, and its
// bytes. With data null, only the size is answered through size; with data, size gives the buffer's size:
// ERROR_MORE_DATA, the size needed in size and the buffer untouched when it is too small, else the bytes
// copied and their number in size. ERROR_FILE_NOT_FOUND for a missing value, ERROR_KEY_DELETED when the
// open key no longer exists in the store, ERROR_INVALID_PARAMETER for a non-null reserved or for data
// without size.
LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size);

// Stores a value (a null or empty name: the unnamed one) with the type and the bytes as given, replacing one
// of the same name, and writes the store. ERROR_NOACCESS for null data with a size.
LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD size);

// Closing a root does nothing and succeeds.
LSTATUS RegCloseKey(HKEY key);

// What installers do and Windows' calls leave to them: stores the values under root\subKey, creating the key
// and the keys on its way, in one write of the store. Names of new keys must be non-empty and at most 255
// bytes, without control bytes (ERROR_BAD_PATHNAME); an empty subKey is the root itself.
struct RegistryValue {
    std::string name; // empty: the unnamed value
    DWORD type = REG_SZ;
    std::vector<BYTE> data;

    bool operator==(const RegistryValue& other) const = default;
};
LSTATUS WriteRegistryValues(HKEY root, LPCSTR subKey, const std::vector<RegistryValue>& values);

// A REG_SZ value of the text, with its terminating zero.
RegistryValue RegistryString(std::string name, const std::string& text);

namespace seam {

// Uses the file as the store in place of the environment's choice (empty: the environment's again);
// platform/testing/Registry.h wraps this.
void UseRegistryStore(const std::string& path);

} // namespace seam

} // namespace win32
