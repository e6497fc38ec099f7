#pragma once
// A catalogue change run on a thread of its own, so that the window stays
// responsive while the disk works (a deletion renames thousands of pictures,
// every step synced). One change at a time. The change must touch nothing
// the window's thread uses meanwhile; what follows it runs on the thread that
// started it, once it is over. The change's journal keeps the catalogue
// whole even if the program ends halfway.
#include <QObject>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

class BackgroundChange {
public:
    BackgroundChange();
    // A running change is waited for: it is never cut off halfway.
    ~BackgroundChange();
    BackgroundChange(const BackgroundChange&) = delete;
    BackgroundChange& operator=(const BackgroundChange&) = delete;

    // From start until its done step has run.
    bool running() const { return bool(done_); }

    // Runs change on its own thread, then done(failure) on this one with
    // whatever change threw (null when it went through), as soon as the event
    // loop comes round or finish() is called, whichever is first.
    void start(std::function<void()> change, std::function<void(std::exception_ptr)> done);
    // Waits for the running change (if any) and runs its done step now.
    void finish();

    // Told true when a change starts and false once its done step has run.
    std::function<void(bool running)> onRunningChanged;

private:
    QObject context_;  // the done step is queued to it; gone with this object
    std::thread thread_;
    std::exception_ptr failure_;
    std::function<void(std::exception_ptr)> done_;
    int generation_ = 0;
};
