// A QuickTime movie in a child window of its own, with QuickTime's standard movie controller that the user
// operates directly; panoramas play as plain movies where the VR library finds no VR track. While active
// the control has the VR library loaded and a QuickTime port on its window; a movie asked for while it is
// inactive is opened when it becomes active.
#pragma once

#include "controls/OSWindowControl.h"
#include "platform/quicktime/Types.h"
#include "script/Fragment.h"

class QTWindowMovieControl : public OSWindowControl {
public:
    QTWindowMovieControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~QTWindowMovieControl() override;

    Vemo::String GetClassName() const override;
    bool Configure(Control* parent, Control* after) override;
    // "Movie(name)" shows the movie, "Movie" and "Clear" close it.
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    void Idle() override;
    void OnEnabled() override;
    void OnDisabled() override;
    bool OnActivated() override;
    void OnDeactivated() override;
    // Offers the window's messages to the controller; the window's own handling always runs on.
    bool HandleWindowMessage(const win32::MSG& message) override;

    virtual bool ClearMovie();
    virtual bool SetMovie(const Fragment& request);

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    qt::Movie GetMovie() const { return m_movie; }
    qt::MovieController GetController() const { return m_controller; }
    qt::QTVRInstance GetVRInstance() const { return m_vrInstance; }

private:
    // What OnDeactivated undoes, as far as it was made.
    void ReleaseResources();
    // Closes the open movie, if any; the request is kept.
    void CloseMovie();

    bool m_vrLoaded = false;
    qt::CGrafPtr m_port = nullptr;
    qt::CGrafPtr m_savedPort = nullptr;
    qt::GDHandle m_savedDevice = nullptr;
    qt::Movie m_movie = nullptr;
    qt::MovieController m_controller = nullptr;
    qt::QTVRInstance m_vrInstance = nullptr;
    Fragment m_request;
};
