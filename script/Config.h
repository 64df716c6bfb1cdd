// An ini file in memory: sections of key and value Strings, looked up without regard to case and written back
// in the order in which they were read or added. The section with the empty name holds the keys that stand
// before the first section line. A key that occurs twice in a section keeps its first place and spelling and
// the last value.
#pragma once

#include "foundation/BasicList.h"
#include "foundation/BasicSet.h"
#include "foundation/String.h"
#include "resources/storage/Path.h"
#include "script/CharacterClasses.h"
#include "script/SectionTable.h"

#include <cstddef>
#include <memory>

namespace Vemo {
class Directory;
class File;
} // namespace Vemo

class Config {
public:
    class Key {
    public:
        explicit Key(const Vemo::String& name) : m_name(name) {}

        const Vemo::String& GetName() const { return m_name; }
        const Vemo::String& GetValue() const { return m_value; }

    private:
        friend class Config;

        Vemo::String m_name;
        Vemo::String m_value;
    };

private:
    // An ini name ends at its first zero byte: names compare up to it.
    using Table = SectionTable<Key, CharacterClasses::CompareTerminatedNoCase, Vemo::BasicSet>;

public:
    using KeyLess = Table::KeyLess;
    using Section = Table::Section;
    using SectionLess = Table::SectionLess;

    // Each receives one item per call, in list order; false stops the walk.
    class SectionEnumerator {
    public:
        virtual ~SectionEnumerator();
        virtual bool EnumerateSection(const Vemo::String& name) = 0;
    };

    class KeyEnumerator {
    public:
        virtual ~KeyEnumerator();
        virtual bool EnumerateKey(const Vemo::String& name, const Vemo::String& value) = 0;
    };

    Config();
    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;
    // Destroys every section and key, and closes the file held open.
    virtual ~Config();

    // Replaces the content by the sections and keys of the file, read whole. False, changing nothing, while a
    // file is held open. Otherwise every section goes first, and the load fails, reporting nothing of its
    // own, for an empty path text, a path without a directory, a file its directory does not hold, and a
    // file that cannot be opened or read whole. With keepOpen the file is opened for reading and writing and
    // held until the Config is destroyed. Records the path on success.
    virtual bool Load(const Vemo::Path& path, bool keepOpen);
    // Writes the file text of every section and key to a new file beside the target, named after it, ".new"
    // and this process's id, sends it to the disk and renames it over the target, so that the file is
    // always either the old one whole or the new one whole, and keeps the old one's permission bits and
    // group. The target is the file the path designates, a symbolic link in its place followed (the link
    // stays and the file it leads to is replaced; one leading out of its drive refuses the save), or the file
    // held open, whatever the path: that one is written after an empty line at its start, its hold given up
    // for the rename and taken on the new file, as keepOpen takes one. The first save of the target in a run
    // removes the new files of it that ended runs left (RemoveStaleNewFiles). A target
    // that is read-only, or held open by a handle that does not share delete, refuses the save before
    // anything is written. False for an empty path text or a path without a directory, when the new file
    // cannot be created, written, sent to the disk or renamed (the old file then stays as it was, and the new
    // one is removed), and when SaveBuffer left something out (the rest is written). The path is recorded on
    // success.
    virtual bool Save(const Vemo::Path& path, bool keepOpen);
    // Removes the new files that saves of the file (the one a link in its place leads to) left beside it in
    // processes that no longer run. Once in a run for each folder and file: the later calls do nothing.
    static void RemoveStaleNewFiles(const Vemo::Path& file);
    // The path of the file last loaded or saved.
    const Vemo::Path& GetPath() const { return m_path; }
    bool HoldsOpenFile() const { return m_file != nullptr; }

    // Replaces the content by the sections and keys of a whole file's bytes.
    bool LoadBuffer(const char* data, std::size_t size);
    // The file text of every section and key. False when a name or value could not be written so that it
    // loads back (it holds a line break, or a "]" in a section name, or an "=" in a key name): such a key, or
    // such a section with its keys, is left out and the rest is written.
    bool SaveBuffer(Vemo::String& out) const;

    // False, with the value emptied, when the section or key is absent.
    bool GetValue(const Vemo::String& section, const Vemo::String& key, Vemo::String& value) const;
    // Creates the section and the key, each at the end of its list, when absent; false for an empty key name.
    bool SetValue(const Vemo::String& section, const Vemo::String& key, const Vemo::String& value);
    bool RemoveKey(const Vemo::String& section, const Vemo::String& key);
    bool RemoveSection(const Vemo::String& section);
    bool EnumerateSections(SectionEnumerator& enumerator) const;
    bool EnumerateKeys(const Vemo::String& section, KeyEnumerator& enumerator) const;
    unsigned GetKeyCount(const Vemo::String& section) const;
    void Clear();

    const Vemo::BasicList<Section*>& GetSections() const { return m_table.GetSections(); }

private:
    class Reader;

    // The steps of a save. The file the path designates: the path itself, or the file a symbolic link in its
    // place leads to. False for an empty path text, a path without a directory and a link that leads nowhere
    // the volume reaches.
    static bool ResolveTarget(const Vemo::Path& path, Vemo::Path& out);
    // The sweep of RemoveStaleNewFiles in the folder of the target itself.
    static void SweepOnce(Vemo::Directory& folder, const Vemo::String& name);
    // Creates the new file, writes the text into it and sends it to the disk.
    static bool WriteNewFile(Vemo::Directory& folder, const Vemo::String& newName, const Vemo::String& text,
                             bool keepOpen, std::unique_ptr<Vemo::File>& written);
    // After a failed save: removes the new file when it was made, and holds the old file again when the
    // save gave up the hold.
    void Undo(Vemo::Directory& folder, const Vemo::String& newName, std::unique_ptr<Vemo::File> written,
              bool held);

    Table m_table;
    Vemo::Path m_path;
    std::unique_ptr<Vemo::File> m_file;
    // The path of the file held open, which may differ from the path last recorded.
    Vemo::Path m_heldPath;
};
