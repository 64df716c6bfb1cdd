#include "resources/archive/MonolithTreeDirectory.h"

#include "resources/archive/MonolithTreeFile.h"
#include "resources/storage/Descriptor.h"
#include "resources/storage/StorageFlags.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using Vemo::String;
using Directory = Vemo::MonolithStorageEngine::MonolithTreeDirectory;
using Entry = Vemo::MonolithStorageEngine::MonolithTreeEntry;
using File = Vemo::MonolithStorageEngine::MonolithTreeFile;

constexpr std::uint64_t kAllOnes = ~std::uint64_t{0};

TEST(MonolithTreeDirectoryTest, MatchPattern) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"abc", "a*", true},    {"a", "a*", true},   {"ab", "?b", true},    {"abc", "?b", false},
        {"ab", "abc", false},   {"", "", true},      {"a", "", false},      {"aXY", "a*z", true},
        {"abc", "*", true},     {"", "*", true},     {"ABC", "abc", false}, {"abc", "a?c", true},
        {"abcd", "abc", false}, {"ab", "ab*", true}, {"ab", "ab?", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Directory::MatchPattern(String(c.name), String(c.pattern)), c.matches)
            << c.name << " / " << c.pattern;
    }
}

TEST(MonolithTreeDirectoryTest, AddingKeepsEveryAncestorsSizeAndRecordSize) {
    Directory root(nullptr, nullptr);
    root.AddDirectory(String("a"));
    auto* a = static_cast<Directory*>(*root.GetChildren().Begin());
    a->AddDirectory(String("bb"));
    auto* b = static_cast<Directory*>(*a->GetChildren().Begin());
    b->AddFile(String("file"));
    auto* file = static_cast<File*>(*b->GetChildren().Begin());

    EXPECT_EQ(file->Attributes(), Entry::kNewEntryAttributes);
    EXPECT_EQ(file->ChunkSize(), 20u);
    EXPECT_EQ(b->ChunkSize(), 40u);
    EXPECT_EQ(a->ChunkSize(), 60u);
    EXPECT_EQ(root.ChunkSize(), 80u);
    EXPECT_EQ(b->Depth(), 3u);

    // Without a tree chunk the new size is kept but cannot be stored.
    EXPECT_FALSE(file->SetContentSize(100));
    EXPECT_EQ(file->ChunkSize(), 120u);
    EXPECT_EQ(file->ContentSize(), 100u);
    EXPECT_EQ(b->ChunkSize(), 140u);
    EXPECT_EQ(root.ChunkSize(), 180u);

    // Tag, attributes, name units and terminator, chunk size, child count; a file adds three times.
    EXPECT_EQ(file->RecordSize(), 2u * 4 + 40);
    EXPECT_EQ(root.RecordSize(), 20u + (2 + 20) + (4 + 20) + (8 + 40));
}

TEST(MonolithTreeDirectoryTest, ChildOffsetsAndSearchesCountEveryChild) {
    Directory root(nullptr, nullptr);
    root.AddFile(String("x"));
    root.AddDirectory(String("x"));
    root.AddFile(String("y"));
    root.AddFile(String("x"));
    auto it = root.GetChildren().Begin();
    static_cast<File*>(*it)->SetContentSize(5);
    ++it;
    auto* directory = static_cast<Directory*>(*it);
    directory->AddFile(String("inner"));

    EXPECT_EQ(root.ChildOffset(0), 0u);
    EXPECT_EQ(root.ChildOffset(1), 25u);
    EXPECT_EQ(root.ChildOffset(2), 65u);
    EXPECT_EQ(root.ChildOffset(4), 105u);
    EXPECT_EQ(root.ChildOffset(5), kAllOnes);
    EXPECT_EQ(root.ChunkSize(), 125u);

    std::uint32_t index = 99;
    File* file = nullptr;
    ASSERT_TRUE(root.FindFile(String("x"), index, file));
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(file->ContentSize(), 5u) << "the first of two files named x";
    Directory* found = nullptr;
    ASSERT_TRUE(root.FindDirectory(String("x"), index, found));
    EXPECT_EQ(index, 1u);
    ASSERT_TRUE(root.FindFile(String("y"), index, file));
    EXPECT_EQ(index, 2u);
    EXPECT_FALSE(root.ContainsDirectory(String("y")));
    EXPECT_FALSE(root.ContainsFile(String("X")));

    ASSERT_TRUE(root.RemoveChild(directory));
    EXPECT_EQ(root.ChildCount(), 3u);
    root.RecomputeSizes();
    EXPECT_EQ(root.ChunkSize(), 85u);
}

TEST(MonolithTreeDirectoryTest, ListingGivesTimesSizesAndFlagsBoundedByTheHandle) {
    Directory root(nullptr, nullptr);
    root.AddFile(String("song.wav"));
    root.AddDirectory(String("sounds"));
    root.AddFile(String("readme"));
    auto* song = static_cast<File*>(*root.GetChildren().Begin());
    song->SetContentSize(1000);
    song->SetTime(0, 11);
    song->SetTime(1, 22);
    song->SetTime(2, 33);
    song->SetAttributes(Entry::kReadable | Entry::kDeletable | Entry::kHidden);

    Vemo::StorageFlags access;
    access.m_readable = 1;
    access.m_writeable = 1;
    Vemo::BasicList<Vemo::Descriptor*> list;
    EXPECT_EQ(root.List(String("so*"), list, access), 2u);
    ASSERT_EQ(list.Size(), 2u);
    const Vemo::Descriptor* file = list.Front();
    EXPECT_EQ(std::string(file->m_name.CStr()), "song.wav");
    EXPECT_EQ(file->m_size, 1000u);
    EXPECT_EQ(file->m_creationTime, 11u);
    EXPECT_EQ(file->m_lastWriteTime, 22u);
    EXPECT_EQ(file->m_lastAccessTime, 33u);
    EXPECT_EQ(file->m_flags.m_directory, 0);
    EXPECT_EQ(file->m_flags.m_readable, 1);
    EXPECT_EQ(file->m_flags.m_writeable, 0);
    EXPECT_EQ(file->m_flags.m_deletable, 1);
    EXPECT_EQ(file->m_flags.m_hidden, 1);
    const Vemo::Descriptor* directory = list.Back();
    EXPECT_EQ(directory->m_flags.m_directory, 1);
    EXPECT_EQ(directory->m_size, 0u);

    Vemo::StorageFlags readOnly;
    readOnly.m_readable = 1;
    EXPECT_EQ(root.List(String("*"), list, readOnly), 3u);
    EXPECT_EQ(list.Back()->m_flags.m_writeable, 0);
    EXPECT_EQ(list.Back()->m_flags.m_deletable, 0);
    for (Vemo::Descriptor* descriptor : list) {
        delete descriptor;
    }
}

} // namespace
