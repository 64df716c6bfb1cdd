// The application's error engine: an error engine that knows how much of each error the user is to see. The
// display mode comes from the "DebugLevel" of the application's configuration; 0 shows only the friendly
// texts, higher modes the developer's views. Presenting the errors is the business of the platform's engine
// (Win32DXQTMultimediaApplicationErrorEngine); this one records them like any error engine.
#pragma once

#include "resources/error/ErrorEngine.h"

class MultimediaApplicationErrorEngine : public Vemo::ErrorEngine {
public:
    MultimediaApplicationErrorEngine();
    ~MultimediaApplicationErrorEngine() override;

    virtual void SetDisplayMode(int mode);
    virtual int GetDisplayMode() const;

    // Runs the error family's factory on the engine, or on a new engine of this class when given none; a
    // failure deletes only what was made here.
    static MultimediaApplicationErrorEngine* Create(MultimediaApplicationErrorEngine* engine = nullptr);

protected:
    MultimediaApplicationErrorEngine(std::uint32_t typeId, const Vemo::String& name);

private:
    int m_displayMode = 0;
};
