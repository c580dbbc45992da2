#pragma once

#include <functional>
#include <mutex>

class TThreadPersistent;

/// An event that names the object that raised it.
using TPersistentNotifyEvent = std::function<void(TThreadPersistent& Sender)>;

/// Base of the image objects: update counting, a lock of its own and OnChange.
class TThreadPersistent {
public:
    TThreadPersistent() = default;
    TThreadPersistent(const TThreadPersistent&) = delete;
    TThreadPersistent& operator=(const TThreadPersistent&) = delete;
    virtual ~TThreadPersistent() = default;

    /// Raises OnChange unless an update is in progress.
    virtual void Changed();

    void BeginUpdate();
    /// Throws Exception("Unpaired TThreadPersistent.EndUpdate") when no update is open.
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    /// Counts the lock under the process-wide lock, then takes this object's own.
    void Lock();
    void Unlock();
    int LockCount() const;

    TPersistentNotifyEvent OnChange;

protected:
    int FUpdateCount = 0;

private:
    std::recursive_mutex FLock;
    int FLockCount = 0;
};

/// Holds a lock for the lifetime of a scope.
class TLockGuard {
public:
    explicit TLockGuard(TThreadPersistent& object) : FObject(object) { FObject.Lock(); }
    ~TLockGuard() { FObject.Unlock(); }
    TLockGuard(const TLockGuard&) = delete;
    TLockGuard& operator=(const TLockGuard&) = delete;

private:
    TThreadPersistent& FObject;
};

/// Closes an update bracket on every way out of a scope.
class TUpdateGuard {
public:
    explicit TUpdateGuard(TThreadPersistent& object) : FObject(object) { FObject.BeginUpdate(); }
    ~TUpdateGuard() { FObject.EndUpdate(); }
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
    TThreadPersistent& FObject;
};

/// A width x height map with the size-change protocol and OnResize.
class TCustomMap : public TThreadPersistent {
public:
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    /// Negative sizes count as 0. Returns false, and raises nothing, when the
    /// size is already the requested one; otherwise ChangeSize, Changed,
    /// Resized and true.
    virtual bool SetSize(int NewWidth, int NewHeight);
    bool SetWidth(int NewWidth) { return SetSize(NewWidth, FHeight); }
    bool SetHeight(int NewHeight) { return SetSize(FWidth, NewHeight); }

    /// SetSize(0, 0).
    virtual void Delete();
    /// True when width or height is 0.
    virtual bool Empty() const;
    /// Raises OnResize.
    virtual void Resized();

    TPersistentNotifyEvent OnResize;

protected:
    /// Reallocates for the new size and stores it in Width and Height.
    virtual void ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight);

    int FWidth = 0;
    int FHeight = 0;
};
