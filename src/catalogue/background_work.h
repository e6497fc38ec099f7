// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work on the catalogue's files run on a thread of its own, so that the
// window stays responsive meanwhile: a registration or a deletion (a
// deletion renames thousands of pictures, every step synced; its journal
// keeps the catalogue whole even if the program ends halfway), or the
// pictures a game start decodes. One piece of work at a time. It must touch
// nothing the window's thread uses meanwhile; what follows it runs on the
// thread that started it, once it is over.
#include <QObject>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

class BackgroundWork {
public:
    BackgroundWork();
    // Running work is waited for: a change is never cut off halfway.
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    // From start until its done step has run.
    bool running() const { return bool(done_); }

    // Runs work on its own thread, then done(failure) on this one with
    // whatever work threw (null when it went through), as soon as the event
    // loop comes round or finish() is called, whichever is first.
    void start(std::function<void()> work, std::function<void(std::exception_ptr)> done);
    // Waits for the running work (if any) and runs its done step now.
    void finish();

    // Told true when work starts and false once its done step has run.
    std::function<void(bool running)> onRunningChanged;

private:
    QObject context_;  // the done step is queued to it; gone with this object
    std::thread thread_;
    std::exception_ptr failure_;
    std::function<void(std::exception_ptr)> done_;
    int generation_ = 0;
};
