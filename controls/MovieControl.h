// A movie inside a screen: a movie file, optionally with separate sound files mixed into it and further
// movies chained after it, played forwards or backwards through a movie controller whose picture is drawn
// scaled into the control's rectangle. The control steps it frame by frame, loops it, sets its volume, keys
// a transparent colour out of it, and announces "AtEnd" or "AtBeginning" when playback stops at either end.
//
// Section keys:
//   Movie=File[, Sound...]       repeatable: the first is the movie, each later one is chained after it
//   Audio=Sound...               repeatable: sounds mixed into the movie
//   TransparentColor=R, G, B     keyed out of the picture; the control becomes transparent
// Without a size the control takes the movie's; with one it makes its controller at once.
//
// Messages: Play([forward|toggle[, fromCurrent]]), Pause, Stop([rewind]), Continue, Fwd, Rwd,
// Loop([flag|toggle]), ToBeginning, ToEnd, Clear, ClearMovie, Movie(File[, Sound...]), Audio(Sound...),
// CreateController([width, height]), DestroyController, Volume([0-255]).
//
// A disabled control refuses every playback operation with false and no report; every other failure reports
// the messenger module's generic failure. Its class word is "MovieControl".
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/media/MediaTimeUnit.h"
#include "runtime/screen/Control.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class FragmentStream;

namespace Vemo {
class Graphic;
class Movie;
class MovieController;
} // namespace Vemo

class MovieControl : public Control {
public:
    // A sound file opened as a movie, with the sound files merged into it as parallel tracks.
    struct AudioRecord {
        AudioRecord();
        ~AudioRecord();
        AudioRecord(const AudioRecord&) = delete;
        AudioRecord& operator=(const AudioRecord&) = delete;

        std::unique_ptr<Vemo::Movie> movie;
        std::vector<std::unique_ptr<AudioRecord>> merged;
    };

    // A movie with the movies chained after it and the sounds mixed into it, which live as long as it does.
    struct MovieRecord {
        MovieRecord();
        ~MovieRecord();
        MovieRecord(const MovieRecord&) = delete;
        MovieRecord& operator=(const MovieRecord&) = delete;

        std::unique_ptr<Vemo::Movie> movie;
        std::vector<std::unique_ptr<MovieRecord>> chained;
        std::vector<std::unique_ptr<AudioRecord>> audio;
    };

    MovieControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~MovieControl() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool Configure(Control* parent, Control* after) override;
    bool SetTransparent(bool transparent) override;
    void Idle() override;
    bool ContainsPoint(const Vemo::Point& local) override;
    void Draw(const Vemo::Rect& localPart) override;
    void OnEnabled() override;
    void OnDisabled() override;
    bool Prepare() override;
    void OnMouseEnter(const Vemo::Point& local) override;
    void OnMouseExit(const Vemo::Point& local) override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;

    virtual bool SetTime(std::uint32_t time, Vemo::MediaTimeUnit unit);
    virtual std::uint32_t GetTime(Vemo::MediaTimeUnit unit);
    virtual bool Play(bool forward, bool fromCurrent);
    virtual bool Pause();
    virtual bool Stop(bool rewind);
    virtual bool Continue();
    virtual bool StepForward();
    virtual bool StepBackward();
    virtual bool ToBeginning();
    virtual bool ToEnd();
    virtual bool IsAtBeginning();
    virtual bool IsAtEnd();
    virtual bool IsMoviePlaying();
    virtual bool IsPlaying();
    virtual bool SetLoop(bool loop);
    virtual bool GetLoop();
    virtual bool SetVolume(std::uint32_t volume);
    virtual std::uint32_t GetVolume();
    virtual void SetTransparentColor(const Vemo::Color& color);
    virtual Vemo::Color GetTransparentColor();
    virtual bool Clear();
    virtual bool ClearMovie();
    virtual Vemo::MovieController* GetController();
    // Without a size, the movie's.
    virtual bool CreateController(std::optional<Vemo::Size> size);
    virtual bool DestroyController();
    virtual bool BindMovie();
    virtual bool UnbindMovie();
    virtual bool ReadMovieKey(const Vemo::String& section, const Vemo::String& key, MovieRecord* parent);
    virtual bool LoadMovies(FragmentStream& stream, MovieRecord* parent);
    virtual bool AttachMovieRecord(std::unique_ptr<MovieRecord>& record, MovieRecord* parent);
    virtual bool ReadMovieKeyAtTop(const Vemo::String& section, const Vemo::String& key);
    virtual bool LoadMoviesAtTop(FragmentStream& stream);
    virtual bool ReadAudioKeyIntoMovie(const Vemo::String& section, const Vemo::String& key);
    virtual bool LoadAudioIntoMovie(FragmentStream& stream);
    virtual std::unique_ptr<MovieRecord> LoadMovieFromStream(FragmentStream& stream);
    virtual std::unique_ptr<MovieRecord> LoadMovieRecord(const Fragment& name);
    virtual std::unique_ptr<AudioRecord> LoadAudioFromStream(FragmentStream& stream);
    virtual std::unique_ptr<AudioRecord> LoadAudioRecord(const Fragment& name);
    virtual bool ReadAudioKey(const Vemo::String& section, const Vemo::String& key, MovieRecord& record);
    virtual bool AttachAudio(FragmentStream& stream, MovieRecord& record);
    virtual bool MergeAudio(std::unique_ptr<AudioRecord>& audio, MovieRecord& record);

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    MovieRecord* GetMovie() const { return m_movie.get(); }

private:
    // The controller when a movie is bound to it, else null.
    Vemo::MovieController* BoundController() const;
    // The picture the controller draws into, or null.
    Vemo::Graphic* ControllerGraphic() const;
    void Invalidate();
    bool ReadTransparentColor();
    // A move of the position (a frame, an end, a time) with the controller active for its length.
    bool Step(const std::function<bool(Vemo::MovieController&)>& step);
    // Sends itself the word with no sender, so that it reaches its subscribers.
    void Announce(const char* word);
    bool HandleWord(unsigned id, const Fragment& message);

    std::unique_ptr<Vemo::MovieController> m_controller;
    std::unique_ptr<MovieRecord> m_movie;
    Vemo::Color m_transparentColor{Vemo::PixelValue(0U), 1};
    bool m_playing = false;
    bool m_forward = true;
    bool m_loop = false;
};
