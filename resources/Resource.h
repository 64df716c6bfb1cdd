// The front-end base: what the user of a family holds, usually by value. It forwards its operations to the
// handle it holds one counted reference on, and is chained to that handle with the handle's other front-ends.
#pragma once

#include <cstdint>

namespace Vemo {

class ResourceHandle;

class Resource {
public:
    // Takes the next number of the serial counter that every front-end, Error included, shares.
    Resource();
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;
    // Closes the handle through its system; when the handle's engine has left its system, reports
    // ResourceSystemErrNoSystem and only leaves the handle's chain.
    virtual ~Resource();

    // Without a handle: ResourceSystemErrNoHandle and false.
    virtual bool SetFlag();
    virtual bool ClearFlag();
    virtual bool GetFlag() const;
    virtual bool IsOpen() const;
    // Subclasses also keep a typed view of the handle; null detaches the front-end, which then reads as
    // closed.
    virtual void SetHandle(ResourceHandle* handle);

    // The front-end open pattern on the base family: the Resource System, family id 0, quick search. Reports
    // ResourceSystemErrAlreadyOpen, ResourceSystemErrNoSystem or ResourceSystemErrOpenFailed (no text).
    bool Open();

    std::uint32_t GetSerial() const { return m_serial; }
    ResourceHandle* GetHandle() const { return m_handle; }
    Resource* GetNextResource() const { return m_next; }
    Resource* GetPreviousResource() const { return m_previous; }

protected:
    // What the destructor does; a subclass whose close must run before its own parts are gone calls it
    // itself.
    void ReleaseHandle();

private:
    friend class ResourceHandle;

    std::uint32_t m_serial;
    bool m_flag = false;
    ResourceHandle* m_handle = nullptr;
    Resource* m_next = nullptr;
    Resource* m_previous = nullptr;
    // The handle whose chain holds this front-end, null while unchained. Normally m_handle; kept apart so
    // that a failed close can tell whether it still has to leave the chain.
    ResourceHandle* m_chainOwner = nullptr;
};

} // namespace Vemo
