#include "resources/archive/MonolithStorageEngine.h"

#include "resources/archive/MonolithChunk.h"
#include "resources/archive/MonolithTreeChunk.h"
#include "resources/archive/MonolithTreeDirectory.h"
#include "resources/archive/MonolithVolumeHandle.h"
#include "resources/archive/tests/ArchiveTestEnvironment.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/Descriptor.h"
#include "resources/storage/Directory.h"
#include "resources/storage/File.h"
#include "resources/storage/Path.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/Volume.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace ArchiveTest;
using Vemo::AccessStatus;
using Vemo::AccessStyle;
using Vemo::String;
using TreeDirectory = Vemo::MonolithStorageEngine::MonolithTreeDirectory;

const AccessStyle kReadWrite(true, true, false, false);

// The first 124 bytes of every archive the engine creates.
const Bytes kNewArchive = {
    'Q',  'U',  'I',  'B',  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7C, 0x00, 0x01, 0x83, 0xE0,
    0x33, 0x38, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x6A, 0x00, 0x00,
    0x00, 0x00, 0x65, 0x72, 0xBD, 0xD3, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x1A, 0x00, 0x00, 0x00, 0x01, 0x8C, 0xA2, 0x88, 0x13, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x28,
    0x00, 0x00, 0x00, 0x01, 0xD6, 0x56, 0x25, 0x8D, 0x00, 0x01, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x00,
};

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(seed * 31 + i * 13 + (i >> 8));
    }
    return bytes;
}

// A hand-made archive: the top chunk with a descriptor, the root directory's chunk and the tree.
Bytes MonolithArchive(const ChunkSpec& root, const Bytes& tree, Bytes descriptor = {0, 1, 0, 0, 0, 0}) {
    return BuildQuibFile(
        {Container(1, 1, {DataChunk(1, 2, std::move(descriptor)), root, DataChunk(1, 5, tree)})});
}

// Root: "hello.txt" ("Hello"), then "docs" holding "a" ("xyz").
Bytes SampleArchive() {
    const ChunkSpec root =
        Container(1, 3, {DataChunk(1, 4, Text("Hello")), Container(1, 3, {DataChunk(1, 4, Text("xyz"))})});
    TreeRecords tree;
    tree.Directory(7, "", 88, 2).File(7, "hello.txt", 25).Directory(7, "docs", 43, 1).File(7, "a", 23);
    return MonolithArchive(root, tree.m_bytes);
}

class MonolithStorageEngineTest : public ::testing::Test {
protected:
    bool OpenArchive(Vemo::Volume& volume, const char* name, bool create) {
        const String text(name);
        return volume.Open(&text, &m_environment.Host(), create);
    }

    Vemo::MonolithVolumeHandle* Handle(Vemo::Volume& volume) {
        return dynamic_cast<Vemo::MonolithVolumeHandle*>(volume.GetVolumeHandle());
    }

    Bytes ReadFile(Vemo::Directory& directory, const char* name) {
        Vemo::File file;
        const String text(name);
        if (!file.Open(&text, directory, nullptr, false)) {
            return {};
        }
        Bytes bytes(static_cast<std::size_t>(file.Size()));
        if (bytes.empty()) {
            return bytes;
        }
        AccessStatus* read = file.ReadAt(0, bytes.size(), bytes.data());
        const bool complete =
            read != nullptr && read->m_status == AccessStatus::kDone && read->m_count == bytes.size();
        if (read != nullptr) {
            read->Release();
        }
        return complete ? bytes : Bytes{};
    }

    bool WriteFile(Vemo::Directory& directory, const char* name, const Bytes& bytes) {
        Vemo::File file;
        const String text(name);
        if (!file.Open(&text, directory, &kReadWrite, true) || !file.SetSize(bytes.size())) {
            return false;
        }
        if (bytes.empty()) {
            return true;
        }
        AccessStatus* written = file.WriteAt(0, bytes.size(), bytes.data());
        const bool complete = written != nullptr && written->m_status == AccessStatus::kDone;
        if (written != nullptr) {
            written->Release();
        }
        return complete;
    }

    std::vector<std::string> Names(Vemo::Directory& directory, const char* pattern = "*") {
        Vemo::BasicList<Vemo::Descriptor*> list;
        directory.EntryAt(String(pattern), list);
        std::vector<std::string> names;
        for (Vemo::Descriptor* descriptor : list) {
            names.push_back(std::string(descriptor->m_flags.m_directory ? "/" : "") +
                            descriptor->m_name.CStr());
            delete descriptor;
        }
        return names;
    }

    ArchiveTestEnvironment m_environment;
};

TEST_F(MonolithStorageEngineTest, ANewArchiveIsTheImageOfAnEmptyTree) {
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "game", true));
    EXPECT_EQ(m_environment.ReadHostFile("game.qib"), kNewArchive);
    EXPECT_TRUE(archive.Verify());
    EXPECT_EQ(std::string(archive.PathText(false, false)->CStr()), "game.qib");
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    EXPECT_TRUE(root.IsEmpty());
    EXPECT_EQ(Names(root), std::vector<std::string>{});
    EXPECT_TRUE(root.IsReadable());
    EXPECT_TRUE(root.IsWriteable());
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

TEST_F(MonolithStorageEngineTest, WhatIsWrittenReadsBackIdentically) {
    const Bytes big = Pattern(300000, 1);
    {
        Vemo::Volume archive;
        ASSERT_TRUE(OpenArchive(archive, "data", true));
        Vemo::Directory root;
        ASSERT_TRUE(root.OpenRoot(archive));
        Vemo::Directory music;
        const String musicName("music");
        ASSERT_TRUE(music.Create(&musicName, root, false));
        Vemo::Directory loops;
        const String loopsName("loops");
        ASSERT_TRUE(loops.Create(&loopsName, music, false));
        ASSERT_TRUE(WriteFile(loops, "big.raw", big));
        ASSERT_TRUE(WriteFile(music, "empty", {}));
        ASSERT_TRUE(WriteFile(root, "readme.txt", Text("read me")));
        ASSERT_TRUE(WriteFile(music, "one", {42}));
        EXPECT_TRUE(archive.Verify());
    }
    EXPECT_EQ(m_environment.TakeReports(), Reports{});

    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "data", false));
    EXPECT_TRUE(archive.Verify());
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    EXPECT_EQ(Names(root), (std::vector<std::string>{"/music", "readme.txt"}));
    Vemo::Directory music;
    const String musicName("music");
    ASSERT_TRUE(music.Open(&musicName, root, false));
    EXPECT_EQ(Names(music), (std::vector<std::string>{"/loops", "empty", "one"}));
    Vemo::Directory loops;
    const String loopsName("loops");
    ASSERT_TRUE(loops.Open(&loopsName, music, false));
    EXPECT_EQ(ReadFile(loops, "big.raw"), big);
    EXPECT_EQ(ReadFile(music, "empty"), Bytes{});
    EXPECT_EQ(ReadFile(music, "one"), Bytes{42});
    EXPECT_EQ(ReadFile(root, "readme.txt"), Text("read me"));
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

TEST_F(MonolithStorageEngineTest, AHandBuiltArchiveOpensAndLists) {
    m_environment.WriteHostFile("sample.qib", SampleArchive());
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "sample", false));
    EXPECT_TRUE(archive.Verify());
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    EXPECT_EQ(Names(root), (std::vector<std::string>{"hello.txt", "/docs"}));
    EXPECT_EQ(ReadFile(root, "hello.txt"), Text("Hello"));
    Vemo::Directory docs;
    const String docsName("docs");
    ASSERT_TRUE(docs.Open(&docsName, root, false));
    EXPECT_EQ(ReadFile(docs, "a"), Text("xyz"));

    Vemo::BasicList<Vemo::Descriptor*> list;
    ASSERT_EQ(root.EntryAt(String("h*"), list), 1u);
    EXPECT_EQ(list.Front()->m_size, 5u);
    EXPECT_EQ(list.Front()->m_creationTime, 1u);
    EXPECT_EQ(list.Front()->m_lastAccessTime, 3u);
    delete list.Front();
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

// A path text passes through an archive file as if it were a directory.
TEST_F(MonolithStorageEngineTest, PathsPassThroughArchives) {
    m_environment.WriteHostFile("sample.qib", SampleArchive());
    Vemo::Path path;
    ASSERT_TRUE(path.Parse(String("HD0:/sample.qib/docs/a")));
    Vemo::File file;
    ASSERT_TRUE(file.Open(path, nullptr, false));
    Bytes bytes(3);
    AccessStatus* read = file.ReadAt(0, 3, bytes.data());
    ASSERT_NE(read, nullptr);
    read->Release();
    EXPECT_EQ(bytes, Text("xyz"));
    EXPECT_EQ(std::string(file.PathText(true, false)->CStr()), "HD0:/sample.qib:/docs/a");
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

// An archive stored as a file of another archive opens as a volume of its own: its QuibFile opens a second
// handle from the outer file's handle.
TEST_F(MonolithStorageEngineTest, AnArchiveInsideAnArchive) {
    Vemo::Volume outer;
    ASSERT_TRUE(OpenArchive(outer, "outer", true));
    Vemo::Directory outerRoot;
    ASSERT_TRUE(outerRoot.OpenRoot(outer));
    ASSERT_TRUE(WriteFile(outerRoot, "before", Text("before")));
    ASSERT_TRUE(WriteFile(outerRoot, "inner.qib", SampleArchive()));
    ASSERT_TRUE(WriteFile(outerRoot, "after", Text("after")));

    Vemo::File innerFile;
    const String innerName("inner.qib");
    ASSERT_TRUE(innerFile.Open(&innerName, outerRoot, nullptr, false));
    Vemo::Volume inner;
    ASSERT_TRUE(inner.Open(innerFile));
    EXPECT_TRUE(inner.Verify());
    EXPECT_FALSE(inner.IsWriteable());
    Vemo::Directory innerRoot;
    ASSERT_TRUE(innerRoot.OpenRoot(inner));
    EXPECT_EQ(Names(innerRoot), (std::vector<std::string>{"hello.txt", "/docs"}));
    EXPECT_EQ(ReadFile(innerRoot, "hello.txt"), Text("Hello"));
    EXPECT_EQ(ReadFile(outerRoot, "after"), Text("after"));
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

TEST_F(MonolithStorageEngineTest, ALittleEndianTreeIsReadAndStoredLittleEndian) {
    TreeRecords tree(false);
    tree.Directory(7, "", 25, 1).File(7, "le", 25);
    m_environment.WriteHostFile("le.qib", MonolithArchive(Container(1, 3, {DataChunk(1, 4, Text("12345"))}),
                                                          tree.m_bytes, {0, 1, 0, 0, 0, 1}));
    {
        Vemo::Volume archive;
        ASSERT_TRUE(OpenArchive(archive, "le", false));
        Vemo::Directory root;
        ASSERT_TRUE(root.OpenRoot(archive));
        EXPECT_EQ(ReadFile(root, "le"), Text("12345"));
        ASSERT_TRUE(WriteFile(root, "new", Text("n")));
        EXPECT_TRUE(archive.Verify());
    }
    const Bytes bytes = m_environment.ReadHostFile("le.qib");
    TreeRecords stored(false);
    stored.Directory(7, "", 20 + 25 + 21, 2)
        .File(7, "le", 25)
        .U16(2)
        .U32(7)
        .Name("new")
        .U64(21)
        .U64(0)
        .U64(0)
        .U64(0);
    ASSERT_GE(bytes.size(), stored.m_bytes.size());
    EXPECT_TRUE(
        std::equal(stored.m_bytes.begin(), stored.m_bytes.end(), bytes.end() - stored.m_bytes.size()));

    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "le", false));
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    EXPECT_EQ(Names(root), (std::vector<std::string>{"le", "new"}));
    EXPECT_EQ(ReadFile(root, "new"), Text("n"));
}

TEST_F(MonolithStorageEngineTest, QuickMatchOfVolumes) {
    m_environment.WriteHostFile("data.qib", kNewArchive);
    m_environment.WriteHostFile("x.QiB", kNewArchive);
    m_environment.WriteHostFile("ab", kNewArchive);
    Vemo::MonolithStorageEngine* engine = m_environment.Monolith();
    const struct {
        const char* name;
        bool create;
        bool matches;
    } byName[] = {
        {"data", false, true},   {"data.qib", false, true}, {"DATA.QIB", false, true},
        {"other", false, false}, {"other", true, true},
    };
    for (const auto& c : byName) {
        Vemo::StorageSearchCriterion criterion(Vemo::StorageSearchCriterion::kVolume);
        const String name(c.name);
        criterion.m_name = &name;
        criterion.m_containerDirectory = &m_environment.Host();
        criterion.m_createAllowed = c.create;
        EXPECT_EQ(engine->MatchSearchCriterion(&criterion), c.matches) << c.name;
    }
    for (const auto& [name, matches] : {std::pair{"x.QiB", true}, std::pair{"ab", false}}) {
        Vemo::File file;
        const String text(name);
        ASSERT_TRUE(file.Open(&text, m_environment.Host(), nullptr, false));
        Vemo::StorageSearchCriterion criterion(Vemo::StorageSearchCriterion::kVolume);
        criterion.m_containerFile = &file;
        EXPECT_EQ(engine->MatchSearchCriterion(&criterion), matches) << name;
    }
    Vemo::StorageSearchCriterion named(Vemo::StorageSearchCriterion::kVolume);
    const String drive("HD0");
    named.m_name = &drive;
    EXPECT_FALSE(engine->MatchSearchCriterion(&named)) << "a drive name without a host directory";
    EXPECT_FALSE(engine->MatchSearchCriterionThorough(&named));
    EXPECT_EQ(m_environment.TakeReports(),
              (Reports{{Vemo::ResourceSystemErrNotSupported,
                        "MonolithStorageEngine::MatchSearchCriterionThorough"}}));
}

TEST_F(MonolithStorageEngineTest, AVolumeOnAFileAndItsNames) {
    m_environment.WriteHostFile("game.qib", kNewArchive);
    m_environment.WriteHostFile("x.QiB", kNewArchive);
    Vemo::File file;
    const String fileName("x.QiB");
    ASSERT_TRUE(file.Open(&fileName, m_environment.Host(), nullptr, false));
    Vemo::Volume onFile;
    ASSERT_TRUE(onFile.Open(file));
    EXPECT_FALSE(onFile.IsWriteable());
    ASSERT_NE(onFile.ContainerFile(), nullptr);

    Vemo::Volume game;
    ASSERT_TRUE(OpenArchive(game, "game", false));
    Vemo::MonolithVolumeHandle* handle = Handle(game);
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(handle->MatchName(String("game")));
    EXPECT_TRUE(handle->MatchName(String("game.qib")));
    EXPECT_FALSE(handle->MatchName(String("GAME.qib")));
    EXPECT_FALSE(handle->MatchName(String("gam")));
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

TEST_F(MonolithStorageEngineTest, VolumeOperationsWithoutMeaningAreNotSupported) {
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "game", true));
    m_environment.TakeReports();
    EXPECT_FALSE(archive.Lock());
    EXPECT_FALSE(archive.Unlock());
    EXPECT_FALSE(archive.Insert());
    EXPECT_FALSE(archive.Remove());
    EXPECT_FALSE(archive.IsLockable());
    EXPECT_FALSE(archive.IsRemovable());
    EXPECT_EQ(archive.Size(), 0u);
    EXPECT_EQ(archive.Free(), 0u);
    EXPECT_EQ(archive.ClusterSize(), 0u);
    EXPECT_EQ(archive.ReadAhead(), 0u);
    EXPECT_FALSE(archive.SetLabel(String("x")));
    const String* label = archive.Label();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(std::string(label->CStr()), "game.qib");
    EXPECT_EQ(archive.Serial(), 0u);
    Reports expected;
    for (const char* operation : {"Lock", "Unlock", "Insert", "Remove", "Lockable", "Removable", "Size",
                                  "Free", "ClusterSize", "ReadAhead", "Label", "Label", "Serial"}) {
        expected.push_back({Vemo::ResourceSystemErrNotSupported,
                            ("MonolithVolumeHandle::" + std::string(operation)).c_str()});
    }
    EXPECT_EQ(m_environment.TakeReports(), expected);

    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    EXPECT_FALSE(root.SetName(String("x")));
    ASSERT_TRUE(WriteFile(root, "f", {}));
    Vemo::File file;
    const String name("f");
    ASSERT_TRUE(file.Open(&name, root, nullptr, false));
    EXPECT_FALSE(file.SetName(String("g")));
    EXPECT_EQ(m_environment.TakeReports(),
              (Reports{{Vemo::ResourceSystemErrNotSupported, "MonolithDirectoryHandle::Name"},
                       {Vemo::ResourceSystemErrNotSupported, "MonolithFileHandle::Name"}}));
}

TEST_F(MonolithStorageEngineTest, FilesAndDirectoriesAreSearchedApart) {
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "game", true));
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    {
        Vemo::Directory a;
        const String name("a");
        ASSERT_TRUE(a.Create(&name, root, false));
    }
    ASSERT_TRUE(WriteFile(root, "a", Text("file a")));
    EXPECT_EQ(Names(root), (std::vector<std::string>{"/a", "a"}));

    Vemo::File existing;
    const String name("a");
    EXPECT_FALSE(existing.Create(&name, root, &kReadWrite, false));
    Vemo::File missing;
    const String missingName("b");
    EXPECT_FALSE(missing.Open(&missingName, root, nullptr, false));
    Vemo::Directory existingDirectory;
    EXPECT_FALSE(existingDirectory.Create(&name, root, false));
    const Reports reports = m_environment.TakeReports();
    EXPECT_TRUE(ReportedInOrder(reports, {{Vemo::StorageEngineErrFileExists, "HD0:/game.qib:/a"},
                                          {Vemo::StorageEngineErrNotFound, "b"},
                                          {Vemo::StorageEngineErrDirectoryExists, "HD0:/game.qib:/a"}}))
        << ::testing::PrintToString(reports);
}

TEST_F(MonolithStorageEngineTest, DeletingAnEntry) {
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "game", true));
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    {
        Vemo::Directory a;
        const String name("a");
        ASSERT_TRUE(a.Create(&name, root, false));
        ASSERT_TRUE(WriteFile(a, "inside", Text("gone with a")));
    }
    ASSERT_TRUE(WriteFile(root, "a", Text("file a")));
    ASSERT_TRUE(WriteFile(root, "keep", Text("kept")));
    ASSERT_TRUE(WriteFile(root, "doomed", Pattern(1000, 3)));
    ASSERT_TRUE(WriteFile(root, "last", Text("last one")));

    ASSERT_TRUE(root.Delete(String("a")));
    EXPECT_EQ(Names(root), (std::vector<std::string>{"a", "keep", "doomed", "last"}));
    EXPECT_EQ(ReadFile(root, "a"), Text("file a"));

    TreeDirectory* tree = Handle(archive)->TopChunk()->Tree()->Root();
    for (auto* entry : tree->GetChildren()) {
        entry->SetAttributes(entry->Name().Compare("keep") == 0 ? 1 : 7);
    }
    ASSERT_TRUE(tree->Commit());
    const Bytes before = m_environment.ReadHostFile("game.qib");
    EXPECT_FALSE(root.Delete(String("keep")));
    EXPECT_FALSE(root.Delete(String("nothing")));
    EXPECT_EQ(m_environment.ReadHostFile("game.qib"), before);

    ASSERT_TRUE(root.Delete(String("doomed")));
    EXPECT_EQ(tree->ChunkSize(), 20 + tree->ChildOffset(tree->ChildCount()));
    EXPECT_EQ(ReadFile(root, "last"), Text("last one"));
    EXPECT_TRUE(archive.Verify());
    const Reports reports = m_environment.TakeReports();
    EXPECT_TRUE(ReportedInOrder(
        reports, {{Vemo::StorageEngineErrDeleteFailed, "keep"}, {Vemo::StorageEngineErrNoEntry, "nothing"}}))
        << ::testing::PrintToString(reports);
}

TEST_F(MonolithStorageEngineTest, AnOpenEntryCannotBeDeleted) {
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "game", true));
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    ASSERT_TRUE(WriteFile(root, "busy", Text("busy")));
    Vemo::File busy;
    const String name("busy");
    ASSERT_TRUE(busy.Open(&name, root, nullptr, false));
    m_environment.TakeReports();
    EXPECT_FALSE(root.Delete(name));
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{Vemo::QuibErrChildOpen}, {Vemo::QuibErrRemoveFailed}}));
    EXPECT_EQ(ReadFile(root, "busy"), Text("busy"));
}

TEST_F(MonolithStorageEngineTest, AHandleOpenedForReadingDoesNotWrite) {
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "game", true));
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    ASSERT_TRUE(WriteFile(root, "f", Text("fixed")));
    Vemo::File reader;
    const String name("f");
    ASSERT_TRUE(reader.Open(&name, root, nullptr, false));
    const Bytes before = m_environment.ReadHostFile("game.qib");
    AccessStatus* written = reader.WriteAt(0, 2, "xx");
    ASSERT_NE(written, nullptr);
    EXPECT_NE(written->m_status, AccessStatus::kDone);
    written->Release();
    EXPECT_FALSE(reader.SetSize(1));
    EXPECT_EQ(m_environment.ReadHostFile("game.qib"), before);
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{Vemo::StorageEngineErrAccessDenied, "f"},
                                                    {Vemo::StorageEngineErrAccessDenied, "f"}}));
}

// Reads of "hello.txt" (5 bytes) around its end: a read that passes the end delivers what is there, one at
// the end delivers nothing and one beyond it is refused, each with the chunk's reports.
TEST_F(MonolithStorageEngineTest, ReadsAroundTheEndOfAFile) {
    m_environment.WriteHostFile("sample.qib", SampleArchive());
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "sample", false));
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    Vemo::File file;
    const String name("hello.txt");
    ASSERT_TRUE(file.Open(&name, root, nullptr, false));

    const struct {
        std::uint64_t position;
        std::uint64_t count;
        const char* delivered;
        std::uint32_t status;
        Reports reports;
    } cases[] = {
        {0, 5, "Hello", AccessStatus::kDone, {}},
        {1, 3, "ell", AccessStatus::kDone, {}},
        {3, 10, "lo", AccessStatus::kPending, {}},
        {5, 1, "", AccessStatus::kPending, {{Vemo::QuibErrAccessFailed, "1.4"}}},
        {6,
         1,
         "",
         AccessStatus::kPending,
         {{Vemo::QuibErrBeyondEnd, "1.4"}, {Vemo::QuibErrAccessFailed, "1.4"}}},
    };
    for (const auto& c : cases) {
        Bytes bytes(static_cast<std::size_t>(c.count), '.');
        AccessStatus* read = file.ReadAt(c.position, c.count, bytes.data());
        ASSERT_NE(read, nullptr) << c.position;
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + read->m_count), c.delivered) << c.position;
        EXPECT_EQ(read->m_status, c.status) << c.position;
        read->Release();
        EXPECT_EQ(m_environment.TakeReports(), c.reports) << c.position;
    }
}

TEST_F(MonolithStorageEngineTest, ZeroLengthTransfersTouchNothing) {
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "game", true));
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    Vemo::File file;
    const String name("f");
    ASSERT_TRUE(file.Open(&name, root, &kReadWrite, true));
    const Bytes before = m_environment.ReadHostFile("game.qib");
    std::uint8_t byte = 0;
    AccessStatus* read = file.ReadAt(0, 0, &byte);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->m_status, AccessStatus::kDone);
    read->Release();
    AccessStatus* written = file.WriteAt(0, 0, &byte);
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->m_status, AccessStatus::kDone);
    written->Release();
    EXPECT_EQ(m_environment.ReadHostFile("game.qib"), before);
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

// A write past the end records the new length in the tree, so the files after it are still found.
TEST_F(MonolithStorageEngineTest, WritingPastTheEndKeepsTheTreeInStep) {
    {
        Vemo::Volume archive;
        ASSERT_TRUE(OpenArchive(archive, "game", true));
        Vemo::Directory root;
        ASSERT_TRUE(root.OpenRoot(archive));
        ASSERT_TRUE(WriteFile(root, "first", {}));
        ASSERT_TRUE(WriteFile(root, "second", Text("second")));
        Vemo::File first;
        const String name("first");
        ASSERT_TRUE(first.Open(&name, root, &kReadWrite, false));
        AccessStatus* written = first.Write(5, "grown");
        ASSERT_NE(written, nullptr);
        EXPECT_EQ(written->m_status, AccessStatus::kDone);
        written->Release();
        written = first.Write(3, "!!!");
        ASSERT_NE(written, nullptr);
        written->Release();
        EXPECT_EQ(first.Size(), 8u);
        EXPECT_EQ(ReadFile(root, "second"), Text("second"));
    }
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "game", false));
    EXPECT_TRUE(archive.Verify());
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    EXPECT_EQ(ReadFile(root, "first"), Text("grown!!!"));
    EXPECT_EQ(ReadFile(root, "second"), Text("second"));
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

// Several handles on one file share its chunk: a resize through one is seen by the other.
TEST_F(MonolithStorageEngineTest, HandlesOnOneFileShareItsChunk) {
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "game", true));
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    ASSERT_TRUE(WriteFile(root, "shared", Text("abc")));
    ASSERT_TRUE(WriteFile(root, "after", Text("after")));
    const String name("shared");
    const AccessStyle writer(true, true, true, true);
    auto first = std::make_unique<Vemo::File>();
    Vemo::File second;
    ASSERT_TRUE(first->Open(&name, root, &writer, false));
    ASSERT_TRUE(second.Open(&name, root, &writer, false));
    EXPECT_NE(first->GetFileHandle(), second.GetFileHandle());
    ASSERT_TRUE(first->SetSize(10));
    EXPECT_EQ(second.Size(), 10u);
    first.reset();
    EXPECT_EQ(second.Size(), 10u);
    AccessStatus* read = second.ReadAt(0, 3, nullptr);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(
        Bytes(static_cast<std::uint8_t*>(read->m_buffer), static_cast<std::uint8_t*>(read->m_buffer) + 3),
        Text("abc"));
    read->Release();
    EXPECT_EQ(ReadFile(root, "after"), Text("after"));
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

TEST_F(MonolithStorageEngineTest, ADirectoryIsNotCreatedPastTheDepthBound) {
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "deep", true));
    auto current = std::make_unique<Vemo::Directory>();
    ASSERT_TRUE(current->OpenRoot(archive));
    const String name("d");
    for (std::uint32_t level = 2; level <= Vemo::MonolithStorageEngine::kMaxTreeDepth; ++level) {
        auto next = std::make_unique<Vemo::Directory>();
        ASSERT_TRUE(next->Create(&name, *current, false)) << level;
        current = std::move(next);
    }
    const Bytes before = m_environment.ReadHostFile("deep.qib");
    Vemo::Directory tooDeep;
    EXPECT_FALSE(tooDeep.Create(&name, *current, false));
    EXPECT_EQ(m_environment.ReadHostFile("deep.qib"), before);
    const Reports reports = m_environment.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front().m_code, Vemo::StorageEngineErrCreateDirectoryFailed);
    current.reset();

    Vemo::Volume reopened;
    ASSERT_TRUE(OpenArchive(reopened, "deep", false));
    EXPECT_TRUE(reopened.Verify());
}

TEST_F(MonolithStorageEngineTest, ADescriptorOfAnotherVersionIsRefused) {
    TreeRecords tree;
    tree.Directory(7, "", 20, 0);
    m_environment.WriteHostFile("v2.qib", MonolithArchive(Container(1, 3), tree.m_bytes, {0, 2, 0, 0, 0, 0}));
    Vemo::Volume archive;
    EXPECT_FALSE(OpenArchive(archive, "v2", false));
    const Reports reports = m_environment.TakeReports();
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports[0], Reported(Vemo::MonolithErrBadVersion, "2"));
    EXPECT_EQ(reports[1], Reported(Vemo::MonolithErrOpenFailed, "v2"));
}

// Malformed archives are refused with the engine's codes, never a crash.
TEST_F(MonolithStorageEngineTest, MalformedArchivesAreRefused) {
    TreeRecords empty;
    empty.Directory(7, "", 20, 0);
    TreeRecords deep;
    for (std::uint32_t level = 1; level <= Vemo::MonolithStorageEngine::kMaxTreeDepth + 1; ++level) {
        deep.Directory(7, "d", 20, level <= Vemo::MonolithStorageEngine::kMaxTreeDepth ? 1 : 0);
    }
    const Bytes descriptor = {0, 1, 0, 0, 0, 0};
    const struct {
        const char* what;
        Bytes bytes;
        Reports reports;
    } cases[] = {
        {"not a chunk file",
         Text("this is no archive at all"),
         {{Vemo::QuibErrBadHeader, "HD0:/bad.qib"}, {Vemo::MonolithErrQuibOpenFailed, "bad"}}},
        {"no top chunk",
         BuildQuibFile({Container(2, 2)}),
         {{Vemo::QuibErrNotFound, "1.1"},
          {Vemo::MonolithErrNoTopChunk},
          {Vemo::MonolithErrOpenFailed, "bad"}}},
        {"a damaged top-level header",
         BuildQuibFile({WithSize(Container(1, 1), 7)}),
         {{Vemo::QuibErrAccessFailed, "1.1"},
          {Vemo::MonolithErrNoTopChunk},
          {Vemo::MonolithErrOpenFailed, "bad"}}},
        {"no descriptor",
         BuildQuibFile({Container(1, 1, {Container(1, 3), DataChunk(1, 5, empty.m_bytes)})}),
         {{Vemo::QuibErrNotFound, "1.2"},
          {Vemo::MonolithErrNoDescriptor},
          {Vemo::MonolithErrOpenFailed, "bad"}}},
        {"no tree",
         BuildQuibFile({Container(1, 1, {DataChunk(1, 2, descriptor), Container(1, 3)})}),
         {{Vemo::QuibErrNotFound, "1.5"}, {Vemo::MonolithErrNoTree}, {Vemo::MonolithErrOpenFailed, "bad"}}},
        {"a tree deeper than the bound",
         MonolithArchive(Container(1, 3), deep.m_bytes),
         {{Vemo::MonolithErrNoTree}, {Vemo::MonolithErrOpenFailed, "bad"}}},
        {"an empty tree payload",
         MonolithArchive(Container(1, 3), {}),
         {{Vemo::MonolithErrNoTree}, {Vemo::MonolithErrOpenFailed, "bad"}}},
    };
    for (const auto& c : cases) {
        m_environment.WriteHostFile("bad.qib", c.bytes);
        Vemo::Volume archive;
        EXPECT_FALSE(OpenArchive(archive, "bad", false)) << c.what;
        const Reports reports = m_environment.TakeReports();
        EXPECT_TRUE(ReportedInOrder(reports, c.reports))
            << c.what << ": " << ::testing::PrintToString(reports);
    }
}

// A child's chunk must lie exactly where the tree says; a tree that disagrees with the chunks does not open
// a neighbour instead.
TEST_F(MonolithStorageEngineTest, AChildChunkMustLieWhereTheTreeSays) {
    const ChunkSpec chunks = Container(1, 3, {DataChunk(1, 4, Text("one")), DataChunk(1, 4, Text("two"))});
    TreeRecords tree;
    tree.Directory(7, "", 66, 2).File(7, "one", 30).File(7, "two", 23);
    m_environment.WriteHostFile("skew.qib", MonolithArchive(chunks, tree.m_bytes));
    Vemo::Volume archive;
    ASSERT_TRUE(OpenArchive(archive, "skew", false));
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    EXPECT_EQ(ReadFile(root, "one"), Text("one"));
    EXPECT_EQ(ReadFile(root, "two"), Bytes{});
    const Reports reports = m_environment.TakeReports();
    EXPECT_TRUE(ReportedInOrder(reports, {{Vemo::StorageEngineErrNoDirectory, "HD0:/skew.qib:/two"}}))
        << ::testing::PrintToString(reports);
}

// A memory volume whose files end at a limit, as on a full disk: a write is cut short there and, when sizes
// fail, a file cannot be made longer than the limit.
class BoundedStorageEngine : public VemoTest::MemoryStorageEngine {
public:
    Vemo::ResourceHandle* CreateHandle(Vemo::ResourceSearchCriterion* criterion,
                                       Vemo::Resource* resource) override;

    std::uint64_t m_limit = std::numeric_limits<std::uint64_t>::max();
    bool m_sizesFail = false;
    int m_refusedSizes = 0;
};

class BoundedFileHandle : public VemoTest::MemoryFileHandle {
public:
    BoundedFileHandle(BoundedStorageEngine* engine, VemoTest::MemoryNode* node)
        : MemoryFileHandle(engine, node), m_bounds(engine) {}

    AccessStatus* Write(AccessStatus* request) override {
        const std::uint64_t limit = m_bounds->m_limit;
        if (request->m_position + request->m_count <= limit) {
            return MemoryFileHandle::Write(request);
        }
        request->m_count =
            request->m_position < limit ? static_cast<std::uint32_t>(limit - request->m_position) : 0;
        MemoryFileHandle::Write(request);
        request->m_status = AccessStatus::kPending;
        return request;
    }

    bool SetSize(std::uint64_t size) override {
        if (size > m_bounds->m_limit && m_bounds->m_sizesFail) {
            ++m_bounds->m_refusedSizes;
            return false;
        }
        return MemoryFileHandle::SetSize(size);
    }

private:
    BoundedStorageEngine* m_bounds;
};

Vemo::ResourceHandle* BoundedStorageEngine::CreateHandle(Vemo::ResourceSearchCriterion* criterion,
                                                         Vemo::Resource* resource) {
    Vemo::ResourceHandle* handle = MemoryStorageEngine::CreateHandle(criterion, resource);
    auto* file = dynamic_cast<VemoTest::MemoryFileHandle*>(handle);
    if (file == nullptr) {
        return handle;
    }
    auto* bounded = new BoundedFileHandle(this, file->m_node);
    bounded->SetNames(file->GetName(), file->GetNativeName());
    bounded->Flags() = file->Flags();
    bounded->SetAccessStyle(*file->GetAccessStyle());
    delete file;
    return bounded;
}

// A new entry whose tree cannot be stored is taken out of the tree again with its chunk, and the tree stored
// once more, so the archive is as it was: also when the longer tree was written only in part.
TEST_F(MonolithStorageEngineTest, ANewEntryWhoseTreeCannotBeStoredIsTakenOutAgain) {
    auto* memory = new BoundedStorageEngine;
    Vemo::StorageEngine::Create(memory);
    m_environment.System()->AddEngine(memory);
    VemoTest::MemoryNode* drive = memory->AddVolume("MEM0");
    Vemo::Volume volume;
    const String volumeName("MEM0");
    ASSERT_TRUE(volume.Open(&volumeName, nullptr, false));
    Vemo::Directory host;
    ASSERT_TRUE(host.OpenRoot(volume));
    Vemo::Volume archive;
    const String archiveName("game");
    ASSERT_TRUE(archive.Open(&archiveName, &host, true));
    Vemo::Directory root;
    ASSERT_TRUE(root.OpenRoot(archive));
    ASSERT_TRUE(WriteFile(root, "kept", Text("kept")));
    const std::string& stored = drive->Find("game.qib")->m_data;
    auto storedBytes = [&stored] { return Bytes(stored.begin(), stored.end()); };
    ASSERT_EQ(m_environment.TakeReports(), Reports{});

    const String name("new");
    const struct {
        const char* what;
        bool directory;
        bool sizesFail;
    } cases[] = {
        {"a directory, no room for the tree", true, true},
        {"a directory, the tree written in part", true, false},
        {"a file, no room for the tree", false, true},
        {"a file, the tree written in part", false, false},
    };
    for (const auto& c : cases) {
        const Bytes before = storedBytes();
        // Room for the new chunk's header; the tree, longer by the new record, does not fit or lacks its
        // last 8 bytes.
        const std::uint64_t longerTree = 2 * name.Length() + (c.directory ? 20 : 40);
        memory->m_sizesFail = c.sizesFail;
        memory->m_refusedSizes = 0;
        memory->m_limit = before.size() + 20 + (c.sizesFail ? 0 : longerTree - 8);
        bool created = false;
        if (c.directory) {
            Vemo::Directory directory;
            created = directory.Create(&name, root, false);
        } else {
            Vemo::File file;
            created = file.Open(&name, root, &kReadWrite, true);
        }
        memory->m_limit = std::numeric_limits<std::uint64_t>::max();
        EXPECT_FALSE(created) << c.what;
        const Reports reports = m_environment.TakeReports();
        const Vemo::ErrorCode failed = c.directory ? Vemo::StorageEngineErrCreateDirectoryFailed
                                                   : Vemo::StorageEngineErrCreateFileFailed;
        EXPECT_TRUE(std::any_of(reports.begin(), reports.end(),
                                [failed](const Reported& one) { return one.m_code == failed; }))
            << c.what << ": " << ::testing::PrintToString(reports);
        if (c.sizesFail) {
            EXPECT_EQ(memory->m_refusedSizes, 1) << c.what << ": the store goes no further than its resize";
        }
        EXPECT_EQ(storedBytes(), before) << c.what;
        EXPECT_EQ(Names(root), std::vector<std::string>{"kept"}) << c.what;
        EXPECT_TRUE(archive.Verify()) << c.what;
    }

    ASSERT_TRUE(WriteFile(root, "new", Text("made")));
    EXPECT_EQ(ReadFile(root, "new"), Text("made"));
    EXPECT_EQ(ReadFile(root, "kept"), Text("kept"));
    EXPECT_TRUE(archive.Verify());
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

} // namespace
