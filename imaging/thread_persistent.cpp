#include "thread_persistent.h"

#include "exception.h"

#include <algorithm>

namespace {
// Guards every object's lock count, as the lock counts are read across objects.
std::mutex& globalLock()
{
    static std::mutex lock;
    return lock;
}
}  // namespace

void TThreadPersistent::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange(*this);
}

void TThreadPersistent::BeginUpdate()
{
    ++FUpdateCount;
}

void TThreadPersistent::EndUpdate()
{
    if (FUpdateCount <= 0)
        throw Exception("Unpaired TThreadPersistent.EndUpdate");
    --FUpdateCount;
}

void TThreadPersistent::Lock()
{
    {
        std::lock_guard guard(globalLock());
        ++FLockCount;
    }
    FLock.lock();
}

void TThreadPersistent::Unlock()
{
    FLock.unlock();
    std::lock_guard guard(globalLock());
    --FLockCount;
}

int TThreadPersistent::LockCount() const
{
    std::lock_guard guard(globalLock());
    return FLockCount;
}

bool TCustomMap::SetSize(int NewWidth, int NewHeight)
{
    NewWidth = std::max(NewWidth, 0);
    NewHeight = std::max(NewHeight, 0);
    if (NewWidth == FWidth && NewHeight == FHeight)
        return false;
    ChangeSize(FWidth, FHeight, NewWidth, NewHeight);
    Changed();
    Resized();
    return true;
}

void TCustomMap::Delete()
{
    SetSize(0, 0);
}

bool TCustomMap::Empty() const
{
    return FWidth == 0 || FHeight == 0;
}

void TCustomMap::Resized()
{
    if (OnResize)
        OnResize(*this);
}

void TCustomMap::ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight)
{
    Width = NewWidth;
    Height = NewHeight;
}
