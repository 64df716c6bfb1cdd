// A state that plays one movie over the whole viewport and moves its graph on (outcome 256) when the movie
// has played out or the user skips it: a release of mouse button 0 over the movie or its black backdrop, or
// of the space bar. The cursor stays hidden over both.
//
// Section keys:
//   Movie=File[, Sound...]   repeatable; each value's movie gets its sounds mixed in, and the movies of later
//                            values are appended after the first. Variables and attributes are expanded.
//   Audio=Sound...           repeatable; sounds mixed into the combined movie, names used as written
//   Mode=Normal|Double|Half|Full
//                            the movie at its own size, twice it or half it, centred; or over the whole
//                            viewport. Missing or unknown: Normal.
// A sound longer than its movie holds the movie's last picture until the sound ends.
//
// Its class word is "FullscreenMovieState"; its owner must be a MessengerStateGraph. It handles no messages
// of its own.
#pragma once

#include "foundation/Rect.h"
#include "resources/storage/Path.h"
#include "runtime/screen/Control.h"
#include "script/MessengerState.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Vemo {
class Movie;
class MovieController;
} // namespace Vemo

class FullscreenMovieState : public MessengerState {
public:
    // The black controls the state shows: they swallow the pointer and the keyboard, keep the cursor hidden,
    // and ask the state to skip on a release of button 0 or of the space bar.
    class MyControl : public Control {
    public:
        MyControl(const Vemo::String& name, FullscreenMovieState* owner);

        bool Configure(Control* parent, Control* after) override;
        void Draw(const Vemo::Rect& localPart) override;
        void OnEnabled() override;
        void OnDisabled() override;
        void OnPressed(const Vemo::Point& local, unsigned button) override;
        void OnReleased(const Vemo::Point& local, unsigned button) override;
        void OnMouseEnter(const Vemo::Point& local) override;
        void OnMouseExit(const Vemo::Point& local) override;
        void OnKeyDown(unsigned key, unsigned extra) override;
        void OnKeyUp(unsigned key) override;

    private:
        void HideCursor();

        FullscreenMovieState* m_owner;
    };

    // One "Movie" value: the movie file and the sound files mixed into it.
    struct MoviePath {
        Vemo::Path movie;
        std::vector<Vemo::Path> sounds;
    };

    // One opened "Movie" value. The sounds are kept while their tracks play in the movie and go first.
    struct MovieRecord {
        MovieRecord();
        ~MovieRecord();
        MovieRecord(const MovieRecord&) = delete;
        MovieRecord& operator=(const MovieRecord&) = delete;

        std::unique_ptr<Vemo::Movie> movie;
        std::vector<std::unique_ptr<Vemo::Movie>> sounds;
    };

    enum Mode : unsigned { kNormal = 0, kDouble = 1, kHalf = 2, kFull = 3 };

    // The scan code of the space bar.
    static constexpr unsigned kSpaceKey = 0x39;

    FullscreenMovieState(const Vemo::String& name, MessengerStateGraph* owner, Script* script);
    // Releases whatever an entry left behind, as leaving does.
    ~FullscreenMovieState() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;

    // The steps of entering.
    virtual bool ReadMovieKey();
    virtual bool OpenMovies();
    virtual bool ReadAudioKey();
    virtual bool OpenAudio();

    // Builds the movie, the two controls and the controller and starts the movie from its beginning. What a
    // failed entry built stays until the next entry or the state's end.
    bool Enter() override;
    // Signals outcome 256 once the movie no longer plays or a skip was asked for, at every step until the
    // graph leaves the state.
    void Update() override;
    bool Exit() override;

    // The creation function registered under "FullscreenMovieState": without a MessengerStateGraph owner, the
    // generic failure and no state.
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    // The movie's place on a viewport of the size in the mode, for a movie of the size.
    static Vemo::Rect MovieRectangle(Mode mode, const Vemo::Size& viewport, const Vemo::Size& movie);

    void RequestSkip() { m_skipRequested = true; }
    bool IsSkipRequested() const { return m_skipRequested; }
    Vemo::MovieController* GetController() const { return m_controller.get(); }
    MyControl* GetBackdrop() const { return m_backdrop.get(); }
    MyControl* GetMovieControl() const { return m_movieControl.get(); }
    const std::vector<std::unique_ptr<MovieRecord>>& GetMovies() const { return m_movies; }

private:
    bool ShowMovie();
    // A control of the state under the parent; null (reported) when it cannot be configured.
    std::unique_ptr<MyControl> MakeControl(const char* name, Control* parent);
    Mode ReadMode();
    // Every value of the key in the state's section; false (reported) without the section.
    bool ReadValues(const char* key, std::vector<Vemo::BasicArray<Fragment>>& values);
    // Destroys the controller, the controls, the movies and the paths, in that order.
    void Release();

    bool m_skipRequested = false;
    std::unique_ptr<Vemo::MovieController> m_controller;
    std::unique_ptr<MyControl> m_backdrop;
    std::unique_ptr<MyControl> m_movieControl;
    std::vector<std::unique_ptr<MovieRecord>> m_movies;
    std::vector<std::unique_ptr<Vemo::Movie>> m_audioMovies;
    std::vector<MoviePath> m_moviePaths;
    std::vector<Vemo::Path> m_audioPaths;
};
