// What the movie and sound family tests share: test doubles of a movie engine (handles with a box, a
// preroll and a controller box; every engine slot logged and each able to fail) and the fixture, a test
// application with the memory graphic engine and a Movie System holding that engine.
#pragma once

#include "engines/graphics/testing/GraphicFamilyFixture.h"
#include "engines/media/MovieControllerGraphic.h"
#include "engines/media/MovieControllerHandle.h"
#include "engines/media/MovieEngine.h"
#include "engines/media/MovieHandle.h"
#include "engines/media/MovieSystem.h"
#include "engines/media/tests/MediaTestText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace VemoTest {

inline constexpr std::uint32_t kTestMovieEngineId = 0x02020010;

class TestMovieHandle : public Vemo::MovieHandle {
public:
    using MovieHandle::MovieHandle;

    Vemo::Size& GetBox(Vemo::Size& out) override {
        out = m_box;
        return out;
    }
    bool Preroll(bool, std::uint32_t) override { return m_preroll; }

    Vemo::Size m_box{320, 240};
    bool m_preroll = true;
};

class TestControllerHandle : public Vemo::MovieControllerHandle {
public:
    using MovieControllerHandle::MovieControllerHandle;

    Vemo::Rect& GetBox(Vemo::Rect& out) override {
        out = m_box;
        return out;
    }
    bool SetBox(const Vemo::Rect& box) override {
        m_box = box;
        return true;
    }

    Vemo::Rect m_box;
};

// Each slot it serves writes its name and arguments into the log; a slot named in m_fail answers null.
class TestMovieEngine : public Vemo::MovieEngine {
public:
    TestMovieEngine() : MovieEngine(kTestMovieEngineId, "Test Movie Engine") {}

    static TestMovieEngine* Make() { return static_cast<TestMovieEngine*>(Create(new TestMovieEngine)); }

    using MovieEngine::CreateController;
    using MovieEngine::CreateMovie;
    using MovieEngine::OpenMovie;

    Vemo::MovieHandle* OpenMovie(const Vemo::Path& path, bool keepFileOpen, bool streamed) override {
        m_log.push_back("OpenMovie path " + Text(path) + Flags(keepFileOpen, streamed));
        return Fails("OpenMovie") ? nullptr : new TestMovieHandle(this, path);
    }
    Vemo::MovieHandle* CreateMovie() override {
        m_log.push_back("CreateMovie");
        return Fails("CreateMovie") ? nullptr : new TestMovieHandle(this);
    }
    Vemo::MovieHandle* CreateMovie(const Vemo::Path& path) override {
        m_log.push_back("CreateMovie path " + Text(path));
        return Fails("CreateMovie") ? nullptr : new TestMovieHandle(this, path);
    }
    Vemo::MovieControllerHandle* CreateController(const Vemo::Size& size, Vemo::StandardPixelFormat format,
                                                  std::uint32_t value1, std::uint32_t value2) override {
        m_log.push_back("CreateController " + Dimensions(size) + " format " +
                        std::to_string(static_cast<std::uint32_t>(format)) + Values(value1, value2));
        return MakeController();
    }
    Vemo::MovieControllerHandle* CreateController(const Vemo::Size& size, std::uint32_t depth,
                                                  std::uint32_t value1, std::uint32_t value2) override {
        m_log.push_back("CreateController " + Dimensions(size) + " depth " + std::to_string(depth) +
                        Values(value1, value2));
        return MakeController();
    }
    bool DestroyMovieHandle(Vemo::MovieHandle* handle) override {
        return MovieEngine::DestroyMovieHandle(handle) && !Fails("DestroyMovieHandle");
    }
    bool DestroyControllerHandle(Vemo::MovieControllerHandle* handle) override {
        return MovieEngine::DestroyControllerHandle(handle) && !Fails("DestroyControllerHandle");
    }

    std::vector<std::string> TakeLog() {
        std::vector<std::string> taken;
        taken.swap(m_log);
        return taken;
    }

    std::vector<std::string> m_fail;

private:
    bool Fails(const std::string& slot) const {
        for (const std::string& failing : m_fail) {
            if (failing == slot) {
                return true;
            }
        }
        return false;
    }
    Vemo::MovieControllerHandle* MakeController() {
        return Fails("CreateController") ? nullptr
                                         : new TestControllerHandle(this, new Vemo::MovieControllerGraphic);
    }
    static std::string Text(const Vemo::Path& path) {
        Vemo::String text;
        return path.GetText(text, true, false).CStr();
    }
    static std::string Flags(bool keepFileOpen, bool streamed) {
        return std::string(keepFileOpen ? " keep" : "") + (streamed ? " streamed" : "");
    }
    static std::string Values(std::uint32_t first, std::uint32_t second) {
        return " values " + std::to_string(first) + "," + std::to_string(second);
    }

    std::vector<std::string> m_log;
};

class MovieFamilyTest : public GraphicFamilyFixture {
protected:
    void SetUp() override {
        GraphicFamilyFixture::SetUp();
        m_movies = Vemo::MovieSystem::Create();
        ASSERT_NE(m_movies, nullptr);
        m_application.m_movieSystem = m_movies;
        m_movieEngine = TestMovieEngine::Make();
        ASSERT_TRUE(m_movies->AddEngine(m_movieEngine));
        Taken();
    }

    void TearDown() override {
        if (m_movies != nullptr) {
            m_movies->Shutdown();
            m_application.m_movieSystem = nullptr;
        }
        GraphicFamilyFixture::TearDown();
    }

    Vemo::MovieSystem* m_movies = nullptr;
    TestMovieEngine* m_movieEngine = nullptr;
};

} // namespace VemoTest
