// Names one item of storage: a volume, a directory or a file. A Path holds the item's own name and an open
// Directory for the directory that contains it (none for a volume-level name or a bare name), so its
// directory part is always one the storage layer has actually opened; the full text is built on request.
//
// A path text is an optional volume name and ':', then components separated by '/', with "." and ".."
// understood: "CD0:/data/menu". A volume name at the top and an archive file inside a directory are both
// entered as the root directory of a volume, so paths pass through archives as if they were directories.
#pragma once

#include "foundation/String.h"

namespace Vemo {

class Directory;
class File;

class Path {
public:
    Path();
    // The name is copied; a given Directory is opened again into a Directory of the Path's own.
    Path(const String* name, const Directory* directory);
    Path(const Path& other);
    Path& operator=(const Path& other);
    // Deletes the Path's Directory, which closes its reference.
    virtual ~Path();

    // A Directory is never shared between Paths: the copy opens one of its own on the same directory.
    bool Assign(const Path& other);
    // The file's own name, in the directory that holds it.
    bool Assign(const File& file);
    // The directory's own name in its parent; at a root, the name of its volume and no directory. False when
    // the volume cannot be reached.
    bool Assign(const Directory& directory);

    // With full: the directory's path text, its separator and the name; else the name alone. native gives the
    // engines' own spelling (what the host's calls take) instead of the program's.
    String& GetText(String& out, bool full, bool native) const;
    // Resolves a path text: from its volume when it names one, else relative to where the Path is. Every
    // component but the last is entered; the last becomes the name (empty after a trailing '/'). False on a
    // malformed volume prefix or on the first component that can be entered neither as a directory nor as a
    // volume; the Path then holds what was resolved before it, with that component as its name.
    bool Parse(const String& text);
    // Moves the name into the directory chain: a sub-directory, "." (stay), ".." (parent; nothing at a root)
    // or a volume, which is entered at its root.
    bool Enter();
    // Whether some storage engine recognises the name, in the Path's directory, as a volume. Opens nothing.
    bool NamesVolume() const;
    // Steps out: the directory's own name in its parent. Out of a root: the volume's name, in the directory
    // that holds the volume's archive file (none for a drive). False without a directory.
    bool Leave();

    const String& GetName() const { return m_name; }
    // Null for a volume-level or bare name.
    Directory* GetDirectory() const { return m_directory; }

private:
    void ReplaceDirectory(Directory* directory);

    String m_name;
    Directory* m_directory = nullptr;
};

} // namespace Vemo
