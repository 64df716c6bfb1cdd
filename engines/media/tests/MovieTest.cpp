#include "engines/media/Movie.h"

#include "engines/graphics/Viewport.h"
#include "engines/media/MovieController.h"
#include "engines/media/MovieErrorCodes.h"
#include "engines/media/MovieSearchCriterion.h"
#include "engines/media/tests/MovieFamilyTestSupport.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/Path.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

Path NamedPath(const char* name) {
    const String text(name);
    return Path(&text, nullptr);
}

std::string TextOf(const Path& path) {
    String text;
    return path.GetText(text, true, false).CStr();
}

class MovieTest : public MovieFamilyTest {
protected:
    bool OpenMovie(Movie& movie, const char* name = "clip.mov") {
        return movie.Open(NamedPath(name), false, true);
    }
};

TEST_F(MovieTest, OpensThroughTheEngineWithTheCriterionFlagsAndRefusesASecondOpen) {
    Movie movie;
    ASSERT_TRUE(movie.Open(NamedPath("intro.mov"), true, false));
    EXPECT_NE(movie.GetMovieHandle(), nullptr);
    EXPECT_EQ(m_movieEngine->TakeLog(), (std::vector<std::string>{"OpenMovie path intro.mov keep"}));
    MovieHandle* first = movie.GetMovieHandle();

    EXPECT_FALSE(OpenMovie(movie));
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrAlreadyOpen}));
    EXPECT_EQ(movie.GetMovieHandle(), first);
    EXPECT_EQ(m_movies->GetMovieHandles().Size(), 1U);
    EXPECT_EQ(m_movieEngine->GetMovieHandles().Size(), 1U);
}

TEST_F(MovieTest, CreatesThroughTheSlotItsArgumentsName) {
    Movie empty;
    Movie named;
    ASSERT_TRUE(empty.Create());
    ASSERT_TRUE(named.Create(NamedPath("new.mov")));
    EXPECT_EQ(m_movieEngine->TakeLog(),
              (std::vector<std::string>{"CreateMovie", "CreateMovie path new.mov"}));
    Path path;
    EXPECT_TRUE(empty.GetPath(path));
    EXPECT_EQ(TextOf(path), "");
}

TEST_F(MovieTest, AnOpenWithoutSystemOrWithoutEngineResultReportsItsStep) {
    Movie movie;
    m_movieEngine->m_fail = {"OpenMovie", "CreateMovie"};
    EXPECT_FALSE(OpenMovie(movie));
    EXPECT_TRUE(ReportedInOrder(Taken(), {MovieEngineErrOpenFailed, ResourceSystemErrOpenFailed}));
    EXPECT_FALSE(movie.Create());
    EXPECT_TRUE(ReportedInOrder(Taken(), {MovieEngineErrCreateFailed, ResourceSystemErrOpenFailed}));

    m_application.m_movieSystem = nullptr;
    EXPECT_FALSE(OpenMovie(movie));
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrNoSystem}));
    m_application.m_movieSystem = m_movies;
    EXPECT_FALSE(movie.IsOpen());
}

// A criterion the front-ends never build, as another caller of the Movie System might.
struct CriterionCase {
    const char* name;
    std::function<void(MovieSearchCriterion&)> fill;
    ErrorCode expected;
};

void PrintTo(const CriterionCase& row, std::ostream* out) {
    *out << row.name;
}

class MovieCriterionTest : public MovieTest, public testing::WithParamInterface<CriterionCase> {};

TEST_P(MovieCriterionTest, IsRefusedBeforeAnyEngineIsAsked) {
    const bool yes = true;
    const bool no = false;
    MovieSearchCriterion criterion(GetParam().name[0] == 'c' ? MovieSearchCriterion::kController
                                                             : MovieSearchCriterion::kMovie);
    criterion.m_create = &no;
    criterion.m_keepFileOpen = &yes;
    criterion.m_streamed = &yes;
    GetParam().fill(criterion);
    Movie movie;
    EXPECT_EQ(m_movies->Open(&criterion, &movie), nullptr);
    EXPECT_EQ(Taken(), (Reports{GetParam().expected}));
    EXPECT_TRUE(m_movieEngine->TakeLog().empty());
}

const Path kNamed = NamedPath("clip.mov");

INSTANTIATE_TEST_SUITE_P(
    Criteria, MovieCriterionTest,
    testing::Values(CriterionCase{"controllerWithoutTarget", [](MovieSearchCriterion&) {},
                                  MovieSystemErrNoControllerTarget},
                    CriterionCase{"movieWithoutCreateFlag",
                                  [](MovieSearchCriterion& c) {
                                      c.m_path = &kNamed;
                                      c.m_create = nullptr;
                                  },
                                  MovieSystemErrMissingFlags},
                    CriterionCase{"movieWithoutStreamedFlag",
                                  [](MovieSearchCriterion& c) {
                                      c.m_path = &kNamed;
                                      c.m_streamed = nullptr;
                                  },
                                  MovieSystemErrMissingFlags},
                    CriterionCase{"movieWithoutSource", [](MovieSearchCriterion&) {},
                                  MovieSystemErrNoSource}),
    [](const testing::TestParamInfo<CriterionCase>& info) { return std::string(info.param.name); });

TEST_F(MovieTest, AMovieOfAnEngineThatOverridesNothingPlaysNothing) {
    m_movies->RemoveEngine(m_movieEngine);
    m_movieEngine->Shutdown();
    m_movieEngine = nullptr;
    ASSERT_TRUE(m_movies->AddEngine(MovieEngine::Create()));
    Movie movie;
    ASSERT_TRUE(OpenMovie(movie, "plain.mov"));
    MovieHandle* handle = movie.GetMovieHandle();
    EXPECT_FALSE(handle->Start(true));
    EXPECT_EQ(handle->GetTime(MediaTimeUnit::Milliseconds), 0U);
    EXPECT_EQ(handle->FromMovieTime(1234), 1234U);
    EXPECT_EQ(handle->ToMovieTime(1234), 1234U);
    EXPECT_EQ(movie.GetRealParameter(), 0.0f);
    Size box(7, 7);
    EXPECT_EQ(Dimensions(movie.GetBox(box)), "0x0");
    Path path;
    EXPECT_TRUE(movie.GetPath(path));
    EXPECT_EQ(TextOf(path), "plain.mov");
    EXPECT_TRUE(Taken().empty());
}

TEST_F(MovieTest, AMovieWithoutHandleReportsEachOperationWithItsName) {
    Movie closed;
    Movie open;
    ASSERT_TRUE(OpenMovie(open));
    Size box;
    EXPECT_EQ(closed.GetDuration(MediaTimeUnit::Native), 0U);
    EXPECT_EQ(Dimensions(closed.GetBox(box)), "0x0");
    EXPECT_FALSE(closed.IsStreamed());
    closed.Task();
    EXPECT_FALSE(open.AppendMovie(closed)) << "a source without handle";
    EXPECT_FALSE(closed.InsertSegment(open, 0, 0, 1, MediaTimeUnit::Native));
    const Reported noHandle(ResourceSystemErrNoHandle, "Movie");
    EXPECT_EQ(Taken(), (Reports{noHandle, noHandle, noHandle, noHandle, noHandle, noHandle}));
}

class MovieControllerTest : public MovieTest {
protected:
    bool OpenController(MovieController& controller) {
        return controller.Open(Size(64, 48), StandardPixelFormat::Xrgb32, 0, 0);
    }
};

TEST_F(MovieControllerTest, AControllerForAMovieTakesTheMovieBoxAndIsBoxedToItWhenBound) {
    Movie movie;
    ASSERT_TRUE(OpenMovie(movie));
    m_movieEngine->TakeLog();
    MovieController controller;
    ASSERT_TRUE(controller.Open(&movie, 3));
    EXPECT_EQ(m_movieEngine->TakeLog(),
              (std::vector<std::string>{"CreateController 320x240 format 0 values 3,0"}));
    ASSERT_TRUE(controller.BindMovie(&movie, true));
    Rect box;
    EXPECT_EQ(controller.GetBox(box), Rect(0, 0, 320, 240));
    EXPECT_EQ(controller.GetMovie(), &movie);
    EXPECT_EQ(movie.GetController(), &controller);
    EXPECT_EQ(controller.GetControllerHandle()->GetMovieHandle(), movie.GetMovieHandle());
    EXPECT_EQ(movie.GetMovieHandle()->GetController(), controller.GetControllerHandle());

    MovieController other;
    EXPECT_FALSE(other.Open(static_cast<Movie*>(nullptr)));
    EXPECT_EQ(Taken(), (Reports{MovieSystemErrNoMovie}));
}

TEST_F(MovieControllerTest, TheOpenFormsPassTheirValuesToTheEngineSlots) {
    MovieController bySize;
    MovieController byDepth;
    ASSERT_TRUE(bySize.Open(Size(10, 20), StandardPixelFormat::Rgb565, 3, 1));
    ASSERT_TRUE(byDepth.Open(Size(30, 40), 4u, 0, 1));
    EXPECT_EQ(m_movieEngine->TakeLog(),
              (std::vector<std::string>{"CreateController 10x20 format 8 values 3,1",
                                        "CreateController 30x40 depth 4 values 0,1"}));
    m_movieEngine->m_fail = {"CreateController"};
    MovieController failing;
    EXPECT_FALSE(OpenController(failing));
    EXPECT_TRUE(ReportedInOrder(Taken(), {MovieEngineErrNoController, ResourceSystemErrOpenFailed}));
}

TEST_F(MovieControllerTest, BindingANullMovieUnbindsTheBoundOneFirst) {
    Movie movie;
    MovieController controller;
    ASSERT_TRUE(OpenMovie(movie));
    ASSERT_TRUE(OpenController(controller));
    ASSERT_TRUE(controller.BindMovie(&movie, false));
    EXPECT_FALSE(controller.BindMovie(nullptr, true));
    EXPECT_EQ(Taken(), (Reports{MovieSystemErrNoMovie}));
    EXPECT_EQ(controller.GetMovie(), nullptr);
    EXPECT_EQ(movie.GetController(), nullptr);
    EXPECT_EQ(movie.GetMovieHandle()->GetController(), nullptr);
}

TEST_F(MovieControllerTest, AMovieBoundElsewhereIsRefusedAndKeepsItsBinding) {
    Movie movie;
    MovieController first;
    MovieController second;
    ASSERT_TRUE(OpenMovie(movie));
    ASSERT_TRUE(OpenController(first));
    ASSERT_TRUE(OpenController(second));
    ASSERT_TRUE(first.BindMovie(&movie, true));
    EXPECT_FALSE(second.BindMovie(&movie, true));
    EXPECT_EQ(Taken(), (Reports{MovieSystemErrMovieBound}));
    EXPECT_EQ(movie.GetController(), &first);
    EXPECT_EQ(first.GetMovie(), &movie);
    EXPECT_EQ(second.GetMovie(), nullptr);
    EXPECT_TRUE(first.BindMovie(&movie, true)) << "rebinding to its own controller unbinds first";
}

TEST_F(MovieControllerTest, AFailedPrerollReportsAndLeavesTheBinding) {
    Movie movie;
    MovieController controller;
    ASSERT_TRUE(OpenMovie(movie));
    ASSERT_TRUE(OpenController(controller));
    static_cast<TestMovieHandle*>(movie.GetMovieHandle())->m_preroll = false;
    EXPECT_FALSE(controller.BindMovie(&movie, true));
    EXPECT_EQ(Taken(), (Reports{MovieSystemErrPrerollFailed}));
    EXPECT_EQ(controller.GetMovie(), &movie);
    EXPECT_TRUE(controller.UnbindMovie());
    EXPECT_TRUE(controller.UnbindMovie()) << "nothing bound";
}

TEST_F(MovieControllerTest, WithoutABoundMovieOperationsReportButTaskStaysSilent) {
    MovieController controller;
    ASSERT_TRUE(OpenController(controller));
    EXPECT_FALSE(controller.Start(true));
    EXPECT_EQ(controller.GetTime(MediaTimeUnit::Native), 0U);
    controller.Task();
    Rect box(1, 2, 3, 4);
    EXPECT_EQ(controller.GetBox(box), Rect());
    EXPECT_EQ(Taken(),
              (Reports{MovieSystemErrNoBoundMovie, MovieSystemErrNoBoundMovie, MovieSystemErrNoBoundMovie}));
    MovieController closed;
    EXPECT_FALSE(closed.SetBox(Rect(0, 0, 1, 1)));
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrNoHandle, "Movie"}}));
}

TEST_F(MovieControllerTest, DestroyingABoundMovieLeavesItsControllerUnbound) {
    MovieController controller;
    ASSERT_TRUE(OpenController(controller));
    {
        Movie movie;
        ASSERT_TRUE(OpenMovie(movie));
        ASSERT_TRUE(controller.BindMovie(&movie, true));
    }
    EXPECT_EQ(controller.GetMovie(), nullptr);
    EXPECT_EQ(controller.GetControllerHandle()->GetMovieHandle(), nullptr);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(MovieControllerTest, ABoundMovieWhoseHandleWasReleasedStillLetsGoOfItsController) {
    MovieController controller;
    ASSERT_TRUE(OpenController(controller));
    {
        Movie movie;
        ASSERT_TRUE(OpenMovie(movie));
        ASSERT_TRUE(controller.BindMovie(&movie, true));
        // The engine goes with every handle it made; neither handle may be left naming the other.
        m_movieEngine->Shutdown();
        m_movieEngine = nullptr;
        EXPECT_EQ(movie.GetMovieHandle(), nullptr);
        EXPECT_EQ(controller.GetControllerHandle(), nullptr);
        EXPECT_EQ(controller.GetMovie(), &movie) << "the binding outlives the handles";
        Taken();
    }
    EXPECT_EQ(controller.GetMovie(), nullptr);
    EXPECT_EQ(Taken(), (Reports{MovieSystemErrNoBoundMovie}));
}

TEST_F(MovieControllerTest, DefaultControllersOpenTheirGraphicThroughTheGraphicSystem) {
    m_movies->RemoveEngine(m_movieEngine);
    m_movieEngine->Shutdown();
    m_movieEngine = nullptr;
    ASSERT_TRUE(m_movies->AddEngine(MovieEngine::Create()));
    MovieController bySize;
    ASSERT_TRUE(bySize.Open(Size(8, 4), StandardPixelFormat::Rgb565, 3, 1));
    MovieControllerGraphic* graphic = bySize.GetControllerHandle()->GetGraphic();
    EXPECT_EQ(Dimensions(graphic->GetSize()), "8x4");
    EXPECT_EQ(graphic->GetPixelFormat().format, StandardPixelFormat::Rgb565);
    MovieController byDepth;
    ASSERT_TRUE(byDepth.Open(Size(8, 4), 4u, 3, 1));
    EXPECT_TRUE(byDepth.GetControllerHandle()->GetGraphic()->IsPalettized());
    Taken();

    MovieController empty;
    EXPECT_FALSE(empty.Open(Size(0, 4), StandardPixelFormat::Xrgb32, 3, 1));
    EXPECT_TRUE(ReportedInOrder(Taken(), {MovieEngineErrGraphicBySize, MovieEngineErrNoController}));
    Viewport closed;
    MovieController onViewport;
    EXPECT_FALSE(onViewport.Open(&closed));
    EXPECT_TRUE(ReportedInOrder(Taken(), {MovieEngineErrGraphicOnViewport, MovieEngineErrNoController}));
}

TEST_F(MovieControllerTest, AHandleTheEngineFailsToDestroyIsReported) {
    std::optional<MovieController> controller(std::in_place);
    std::optional<Movie> movie(std::in_place);
    ASSERT_TRUE(OpenController(*controller));
    ASSERT_TRUE(OpenMovie(*movie));
    m_movieEngine->m_fail = {"DestroyMovieHandle", "DestroyControllerHandle"};
    controller.reset();
    EXPECT_TRUE(ReportedInOrder(Taken(), {MovieEngineErrDestroyControllerFailed}));
    movie.reset();
    EXPECT_TRUE(ReportedInOrder(Taken(), {MovieEngineErrDestroyMovieFailed}));
    EXPECT_TRUE(m_movies->GetMovieHandles().Empty());
}

} // namespace
