#include "resources/archive/QuibFile.h"

#include "resources/archive/QuibChunk.h"
#include "resources/archive/tests/ArchiveTestEnvironment.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/File.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace ArchiveTest;
using Vemo::QuibErrAccessFailed;
using Vemo::QuibErrBadHeader;
using Vemo::QuibErrBadLayout;
using Vemo::QuibErrCrcMismatch;
using Vemo::QuibErrNoFile;
using Vemo::String;
using QuibFile = Vemo::QuibStorageEngine::QuibFile;
using QuibChunk = Vemo::QuibStorageEngine::QuibChunk;
using Ident = Vemo::QuibStorageEngine::QuibChunkIdent;

constexpr std::uint64_t kNone = Vemo::QuibStorageEngine::kNoOffset;

const Bytes kEmptyFile = {'Q', 'U', 'I', 'B', 0, 0, 0, 0, 0, 0, 0, 0x12, 0, 1, 0, 0, 0, 0};

class QuibFileTest : public ::testing::Test {
protected:
    // Writes the bytes as name.qib and opens them without creating.
    bool OpenBytes(QuibFile& file, const Bytes& bytes, const char* name = "t") {
        m_environment.WriteHostFile(std::string(name) + ".qib", bytes);
        return file.Open(m_environment.Host(), String(name), false);
    }

    Bytes HostBytes(const char* name = "t.qib") { return m_environment.ReadHostFile(name); }

    ArchiveTestEnvironment m_environment;
};

TEST_F(QuibFileTest, CreatingWritesTheEighteenByteHeader) {
    QuibFile file;
    ASSERT_TRUE(file.Open(m_environment.Host(), String("tree"), true));
    EXPECT_EQ(HostBytes("tree.qib"), kEmptyFile);
    EXPECT_TRUE(file.Verify());
    EXPECT_EQ(file.Version(), 1);
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

TEST_F(QuibFileTest, TheExtensionIsAppendedUnlessTheNameEndsInItExactly) {
    const struct {
        const char* name;
        const char* created;
    } cases[] = {
        {"tree", "tree.qib"},         {"data.qib", "data.qib"},
        {"Tree.QIB", "Tree.QIB.qib"}, {"old.qib.bak", "old.qib.bak.qib"},
        {"x.qi", "x.qi.qib"},
    };
    for (const auto& c : cases) {
        QuibFile file;
        EXPECT_TRUE(file.Open(m_environment.Host(), String(c.name), true)) << c.name;
        EXPECT_TRUE(std::filesystem::exists(m_environment.HostPath(c.created))) << c.name;
    }
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

TEST_F(QuibFileTest, OpeningIsRefusedWithoutAFileOrAHeader) {
    QuibFile missing;
    EXPECT_FALSE(missing.Open(m_environment.Host(), String("missing"), false));
    EXPECT_EQ(missing.GetFile(), nullptr);
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{Vemo::StorageEngineErrNotFound, "missing.qib"}}));

    QuibFile empty;
    EXPECT_FALSE(OpenBytes(empty, {}, "empty"));
    EXPECT_EQ(empty.GetFile(), nullptr);
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{QuibErrBadHeader, "HD0:/empty.qib"}}));

    QuibFile bound;
    ASSERT_TRUE(OpenBytes(bound, kEmptyFile));
    EXPECT_FALSE(bound.Open(m_environment.Host(), String("t"), false));
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{Vemo::QuibErrAlreadyBound, "HD0:/t.qib"}}));
}

TEST_F(QuibFileTest, TheHeaderIsCheckedAtOpenButNotItsCrc) {
    auto with = [](std::size_t at, std::uint8_t value) {
        Bytes bytes = kEmptyFile;
        bytes[at] = value;
        return bytes;
    };
    Bytes shortFile(kEmptyFile.begin(), kEmptyFile.begin() + 10);
    Bytes longer = kEmptyFile;
    longer.push_back(0);
    const struct {
        const char* what;
        Bytes bytes;
    } refused[] = {
        {"magic", with(0, 'q')},    {"size one short", with(11, 0x11)}, {"size one over", longer},
        {"version 2", with(13, 2)}, {"version 0", with(13, 0)},         {"short header", shortFile},
    };
    for (const auto& c : refused) {
        QuibFile file;
        EXPECT_FALSE(OpenBytes(file, c.bytes)) << c.what;
        EXPECT_EQ(m_environment.TakeReports(), (Reports{{QuibErrBadHeader, "HD0:/t.qib"}})) << c.what;
    }

    QuibFile file;
    ASSERT_TRUE(OpenBytes(file, with(17, 1)));
    EXPECT_FALSE(file.Verify());
    EXPECT_EQ(m_environment.TakeReports(), Reports{QuibErrCrcMismatch});
}

TEST_F(QuibFileTest, AppendingATopLevelChunk) {
    QuibFile file;
    ASSERT_TRUE(file.Open(m_environment.Host(), String("t"), true));
    QuibChunk chunk(&file, Ident(1, 1), 0);
    ASSERT_TRUE(chunk.Open(true, nullptr, kNone));
    const Bytes expected = {'Q', 'U',  'I',  'B',  0,    0, 0, 0, 0, 0, 0, 0x26, 0,
                            1,   0xAE, 0xBD, 0xC3, 0xEB, 0, 1, 0, 1, 0, 0, 0,    0,
                            0,   0,    0,    0x14, 0,    0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(HostBytes(), expected);
    EXPECT_EQ(chunk.Position(), 18u);
    EXPECT_EQ(chunk.Size(), 20u);
    EXPECT_EQ(file.HeaderCrc(), 0xAEBDC3EBu);
    EXPECT_TRUE(file.Verify());

    QuibChunk again(&file, Ident(1, 1), 0);
    EXPECT_FALSE(again.Open(false, nullptr, kNone)) << "the first object still holds that position";
    EXPECT_EQ(m_environment.TakeReports(), Reports{Vemo::QuibErrChildOpen});
}

TEST_F(QuibFileTest, AChunkIsFoundAgainAfterReopening) {
    {
        QuibFile file;
        ASSERT_TRUE(file.Open(m_environment.Host(), String("t"), true));
        QuibChunk chunk(&file, Ident(1, 1), 0);
        ASSERT_TRUE(chunk.Open(true, nullptr, kNone));
    }
    QuibFile file;
    ASSERT_TRUE(file.Open(m_environment.Host(), String("t"), false));
    QuibChunk chunk(&file, Ident(1, 1), 0);
    ASSERT_TRUE(chunk.Open(false, nullptr, kNone));
    EXPECT_EQ(chunk.Position(), 18u);
    EXPECT_EQ(chunk.Size(), 20u);
    QuibChunk other(&file, Ident(2, 7), 0);
    EXPECT_FALSE(other.Open(false, nullptr, kNone));
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{Vemo::QuibErrNotFound, "2.7"}}));
}

TEST_F(QuibFileTest, SearchesFillInWildcardsAndGoOnAfterAChunk) {
    QuibFile file;
    ASSERT_TRUE(
        OpenBytes(file, BuildQuibFile({Container(2, 9), DataChunk(1, 4, {1, 2, 3}), Container(1, 5)})));
    QuibChunk any(&file, Ident(0, 0), 0);
    ASSERT_TRUE(file.FindChunk(&any, nullptr, kNone));
    EXPECT_EQ(any.Position(), 18u);
    EXPECT_EQ(any.Ident().m_family, 2);
    EXPECT_EQ(any.Ident().m_type, 9);

    QuibChunk family1(&file, Ident(1, 0), 0);
    ASSERT_TRUE(file.FindChunk(&family1, nullptr, kNone));
    EXPECT_EQ(family1.Position(), 38u);
    EXPECT_EQ(family1.Ident().m_type, 4);
    EXPECT_EQ(family1.Size(), 23u);
    EXPECT_EQ(family1.Flags(), 1u);

    QuibChunk next(&file, Ident(1, 0), 0);
    ASSERT_TRUE(file.FindChunk(&next, &family1, kNone));
    EXPECT_EQ(next.Position(), 61u);
    EXPECT_EQ(next.Ident().m_type, 5);

    QuibChunk fromOffset(&file, Ident(1, 5), 0);
    QuibChunk unlisted(&file, Ident(1, 5), 0);
    EXPECT_FALSE(file.FindChunk(&fromOffset, &unlisted, kNone));
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{Vemo::QuibErrNotOpenHere, "1.5"}}));
    EXPECT_TRUE(file.Verify());
}

// A header whose size is below 20, 0, or past the end of the file stops every walk; a search that meets one
// fails instead of reporting "not found", so nothing is appended behind it.
TEST_F(QuibFileTest, ADamagedHeaderStopsEveryWalk) {
    const std::uint64_t sizes[] = {0, 19, 21 + 20, ~std::uint64_t{0} - 10};
    for (std::uint64_t size : sizes) {
        const Bytes bytes = BuildQuibFile({WithSize(DataChunk(2, 2, {9}), size)});
        QuibFile file;
        ASSERT_TRUE(OpenBytes(file, bytes)) << size;
        QuibChunk chunk(&file, Ident(1, 1), 0);
        EXPECT_FALSE(chunk.Open(true, nullptr, kNone)) << size;
        EXPECT_EQ(m_environment.TakeReports(), (Reports{{QuibErrAccessFailed, "1.1"}})) << size;
        EXPECT_EQ(HostBytes(), bytes) << size;

        EXPECT_FALSE(file.Verify()) << size;
        EXPECT_EQ(m_environment.TakeReports(), Reports{QuibErrBadLayout}) << size;
        EXPECT_FALSE(file.UpdateHeader()) << size;
        EXPECT_EQ(m_environment.TakeReports(), Reports{QuibErrAccessFailed}) << size;
    }
}

TEST_F(QuibFileTest, VerificationChecksLayoutAndEveryCrc) {
    const ChunkSpec nested =
        Container(1, 1, {DataChunk(1, 2, {1, 2, 3, 4}), Container(1, 3, {Container(1, 4)})});
    {
        QuibFile good;
        ASSERT_TRUE(OpenBytes(good, BuildQuibFile({nested, DataChunk(3, 3, {7})})));
        EXPECT_TRUE(good.Verify());
        EXPECT_EQ(m_environment.TakeReports(), Reports{});
    }

    Bytes badData = BuildQuibFile({nested});
    badData[18 + 20 + 20] ^= 0xFF;
    ChunkSpec badChild = nested;
    badChild.children[1].children[0].crc = 5;
    ChunkSpec badContainer = nested;
    badContainer.crc = 5;
    const struct {
        const char* what;
        Bytes bytes;
        Reports reports;
    } cases[] = {
        {"data byte", badData, {QuibErrCrcMismatch}},
        {"grandchild header", BuildQuibFile({badChild}), {QuibErrCrcMismatch}},
        {"container", BuildQuibFile({badContainer}), {QuibErrCrcMismatch}},
        {"trailing bytes", BuildQuibFile({nested}, {0, 0, 0}), {QuibErrBadLayout}},
        {"child past its parent",
         BuildQuibFile({Container(1, 1, {WithSize(Container(1, 2), 30)})}, Bytes(10)),
         {QuibErrBadLayout}},
    };
    for (const auto& c : cases) {
        QuibFile file;
        ASSERT_TRUE(OpenBytes(file, c.bytes)) << c.what;
        EXPECT_FALSE(file.Verify()) << c.what;
        EXPECT_EQ(m_environment.TakeReports(), c.reports) << c.what;
    }
}

TEST_F(QuibFileTest, VerificationRefusesNestingDeeperThanTheBound) {
    auto nestedTo = [](std::uint32_t depth) {
        ChunkSpec spec;
        for (std::uint32_t i = 1; i < depth; ++i) {
            ChunkSpec outer;
            outer.children.push_back(std::move(spec));
            spec = std::move(outer);
        }
        return BuildQuibFile({spec});
    };
    const std::uint32_t bound = Vemo::QuibStorageEngine::kMaxContainerDepth;
    QuibFile deepest;
    ASSERT_TRUE(OpenBytes(deepest, nestedTo(bound), "deepest"));
    EXPECT_TRUE(deepest.Verify());
    QuibFile deeper;
    ASSERT_TRUE(OpenBytes(deeper, nestedTo(bound + 1), "deeper"));
    EXPECT_FALSE(deeper.Verify());
    EXPECT_EQ(m_environment.TakeReports(), Reports{QuibErrBadLayout});
}

// The file changes length behind the QuibFile's back, through its own File: a range is read while it lies
// inside the file as it is at the moment of the read, and one that passes its end gives nothing, unreported.
TEST_F(QuibFileTest, ReadsFollowTheLengthTheFileHasNow) {
    QuibFile file;
    ASSERT_TRUE(file.Open(m_environment.Host(), String("t"), true));
    std::uint8_t bytes[20] = {};
    const auto read = [&](std::uint64_t position, std::uint64_t length) -> std::int64_t {
        Vemo::AccessStatus* record = file.ReadChunkBytes(nullptr, position, length, bytes);
        if (record == nullptr) {
            return -1;
        }
        const std::int64_t count = record->m_count;
        record->Release();
        return count;
    };
    EXPECT_EQ(read(0, 18), 18);
    EXPECT_EQ(read(10, 10), -1);

    ASSERT_TRUE(file.GetFile()->SetSize(100));
    EXPECT_EQ(read(90, 10), 10);
    EXPECT_EQ(read(100, 0), 0);

    ASSERT_TRUE(file.GetFile()->SetSize(30));
    EXPECT_EQ(read(20, 20), -1);
    EXPECT_EQ(read(90, 0), -1);
    EXPECT_EQ(read(20, 10), 10);
    EXPECT_EQ(read(30, 0), 0);
    EXPECT_EQ(m_environment.TakeReports(), Reports{});
}

TEST_F(QuibFileTest, ChunksOutliveTheirFileDetached) {
    auto file = std::make_unique<QuibFile>();
    ASSERT_TRUE(OpenBytes(*file, BuildQuibFile({DataChunk(1, 1, {1, 2, 3})})));
    QuibChunk chunk(file.get(), Ident(1, 1), 1);
    ASSERT_TRUE(chunk.Open(false, nullptr, kNone));
    file.reset();
    EXPECT_EQ(chunk.Read(nullptr, 20, 3, nullptr), nullptr);
    EXPECT_EQ(chunk.Position(), 18u);
    EXPECT_EQ(chunk.Size(), 23u);
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{QuibErrNoFile, "1.1"}}));
}

TEST_F(QuibFileTest, ChunksThatWereNeverLocatedOutliveTheirContainersToo) {
    auto file = std::make_unique<QuibFile>();
    ASSERT_TRUE(OpenBytes(*file, BuildQuibFile({Container(1, 1)})));
    auto top = std::make_unique<QuibChunk>(file.get(), Ident(1, 1), 0);
    ASSERT_TRUE(top->Open(false, nullptr, kNone));
    QuibChunk unlocatedChild(top.get(), Ident(2, 2), 0);
    QuibChunk unlocated(file.get(), Ident(3, 3), 0);
    top.reset();
    file.reset();
    EXPECT_FALSE(unlocatedChild.Open(true, nullptr, kNone));
    EXPECT_FALSE(unlocated.Open(true, nullptr, kNone));
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{QuibErrNoFile, "2.2"}, {QuibErrNoFile, "3.3"}}));
}

TEST_F(QuibFileTest, AttachingTestsTheExtensionInAnyCase) {
    m_environment.WriteHostFile("x.QiB", kEmptyFile);
    m_environment.WriteHostFile("x.dat", kEmptyFile);
    Vemo::File upper;
    const String upperName("x.QiB");
    ASSERT_TRUE(upper.Open(&upperName, m_environment.Host(), nullptr, false));
    QuibFile attached;
    EXPECT_TRUE(attached.Attach(upper));
    EXPECT_EQ(attached.Version(), 1);

    Vemo::File other;
    const String otherName("x.dat");
    ASSERT_TRUE(other.Open(&otherName, m_environment.Host(), nullptr, false));
    QuibFile refused;
    EXPECT_FALSE(refused.Attach(other));
    EXPECT_EQ(refused.GetFile(), nullptr);
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{QuibErrBadHeader, "HD0:/x.dat"}}));
}

TEST_F(QuibFileTest, WithoutAFileTheFileOperationsReport) {
    QuibFile file;
    EXPECT_FALSE(file.Writeable());
    EXPECT_FALSE(file.Readable());
    EXPECT_FALSE(file.Verify());
    EXPECT_EQ(m_environment.TakeReports(), (Reports{{Vemo::StorageEngineErrNoFile, "QuibFile::Writeable"},
                                                    {Vemo::StorageEngineErrNoFile, "QuibFile::Readable"},
                                                    {QuibErrNoFile}}));
}

} // namespace
