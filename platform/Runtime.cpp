#include "Runtime.h"

#include <new>

#include "ErrorReport.h"
#include "Form.h"
#include "RuntimeError.h"
#include "Window.h"

namespace tolvane::platform {
namespace {

Runtime* current = nullptr;

// Thrown by End to leave the running handler at once; caught only by Dispatch.
struct ProgramEnd {};

} // namespace

Runtime::Runtime() { current = this; }

Runtime::~Runtime() {
    // The instances go newest first, while the application is still there.
    forms_.clear();
    while (!globals_.empty())
        globals_.pop_back();
    current = nullptr;
}

Runtime& Runtime::Current() { return *current; }

std::optional<int> Runtime::Run(const std::function<void()>& start) {
    Dispatch(start);
    if (ended_) return exitStatus_;
    inEventLoop_ = true;
    const std::optional<int> status = RunEventLoop();
    if (!status) return std::nullopt; // the platform's loop goes on
    inEventLoop_ = false;
    return ended_ ? exitStatus_ : *status;
}

int RunProgram(int argc, char* argv[], void (*start)()) {
    std::shared_ptr<void> toolkit = StartToolkit(argc, argv);
    auto runtime = std::make_unique<Runtime>();
    if (const std::optional<int> status = runtime->Run(start)) return *status;
    // The platform runs the loop once this returns: the run stays, the
    // runtime going before the toolkit it stands on.
    static struct Kept {
        std::shared_ptr<void> toolkit;
        std::unique_ptr<Runtime> runtime;
    } kept;
    kept = {std::move(toolkit), std::move(runtime)};
    return 0;
}

void Runtime::Dispatch(const std::function<void()>& handler) {
    // One handler at a time, and none once the program is on its way out.
    if (running_ || stopping_) return;
    running_ = true;
    try {
        handler();
        running_ = false;
    } catch (const ProgramEnd&) {
        running_ = false;
        Stop(0);
    } catch (const RuntimeError& error) {
        running_ = false;
        Report(error);
    } catch (const std::bad_alloc&) {
        running_ = false;
        Report(RuntimeError(kOutOfMemory, "memory"));
    } catch (const std::exception& error) {
        running_ = false;
        Report(RuntimeError(kInternalError, error.what()));
    } catch (...) {
        // Nothing may leave a handler into the event loop, whatever was thrown.
        running_ = false;
        Report(RuntimeError(kInternalError, "unknown exception"));
    }
}

void Runtime::End() { throw ProgramEnd{}; }

void Runtime::Abandoned(const RuntimeError& error) {
    running_ = false;
    if (!stopping_) Report(error);
}

void Runtime::CheckFault(Operation operation, const std::string& where) const {
    if (!faultHook_) return;
    if (const auto number = faultHook_(operation, where)) throw RuntimeError(*number, where);
}

void Runtime::Report(const RuntimeError& error) {
    stopping_ = true;
    errorNumber_ = error.Number();
    PresentErrorReport(MakeErrorReport(error), [this] { Stop(kErrorExitStatus); });
}

void Runtime::Stop(int status) {
    stopping_ = true;
    ended_ = true;
    exitStatus_ = status;
    for (Form* form : forms_) {
        if (Window* window = form->Native()) window->Hide();
    }
    if (inEventLoop_) QuitEventLoop(status, EndNotice(status, errorNumber_));
}

} // namespace tolvane::platform
