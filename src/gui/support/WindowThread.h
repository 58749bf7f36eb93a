#pragma once

#include <functional>

class QObject;

namespace lockvale {

// Jobs and searches run on worker threads; widgets and message boxes live on the window's thread
// (the application's), so what a worker shows goes through these.

bool OnWindowThread();

// Runs `work` on the window's thread and waits until it is done, at once when called there. What
// `work` throws is thrown again here. The window's thread must never wait for the caller.
void RunOnWindowThread(const std::function<void()>& work);

// Runs `work` on `context`'s thread after what was posted there before, without waiting; at once
// when called there. Dropped when `context` is gone by then.
void PostTo(QObject* context, std::function<void()> work);

}  // namespace lockvale
