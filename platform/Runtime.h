#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

#include "ErrorReport.h"

namespace tolvane {
class RuntimeError;
}

namespace tolvane::platform {

class Form;

// The kinds of operation the program calls on screens and controls.
enum class Operation { Load, Show, Hide, Caption, Text, Value, Focus };

// Exit status of a program ended by its error report.
inline constexpr int kErrorExitStatus = 1;

// One run of the program: owns the process-wide instances (screens and code
// modules alike), runs every handler through one dispatch point, reports errors
// and ends the program. Exactly one exists at a time.
class Runtime final {
public:
    Runtime();
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    static Runtime& Current();

    // The one instance of T, created by the first use and kept until the run ends.
    template <class T>
    T& Global();

    // Runs `start` as the first handler, then the event loop; returns the
    // program's exit status, or nothing where the platform runs the loop and
    // the run goes on after this returns.
    std::optional<int> Run(const std::function<void()>& start);

    // Runs one handler to completion. A runtime error is reported and ends the
    // program; after the end, or while a report is up, no handler runs.
    void Dispatch(const std::function<void()>& handler);

    // Stops the program at once: the running handler goes no further.
    [[noreturn]] void End();

    // The running handler was left by a way no C++ code saw, such as a
    // toolkit call that threw through the program's frames: reported as any
    // runtime error is, unless a report is already up.
    void Abandoned(const RuntimeError& error);

    bool HasEnded() const { return ended_; }
    int ExitStatus() const { return exitStatus_; }

    // Makes operations fail on purpose: the hook sees each operation with
    // where it acts ("Form2", "Form2.Check5") and returns an error number to
    // raise, or nothing.
    using FaultHook = std::function<std::optional<int>(Operation, const std::string& where)>;
    void SetFaultHook(FaultHook hook) { faultHook_ = std::move(hook); }
    void CheckFault(Operation operation, const std::string& where) const;

    void Register(Form& form) { forms_.push_back(&form); }
    void Unregister(Form& form) { std::erase(forms_, &form); }

private:
    void Report(const RuntimeError& error);
    void Stop(int status);

    struct Instance {
        std::type_index type;
        std::shared_ptr<void> object;
    };
    std::vector<Instance> globals_;
    std::vector<Form*> forms_;
    FaultHook faultHook_;
    bool running_ = false;  // a handler is running
    bool stopping_ = false; // an error report is up or the program has ended
    bool ended_ = false;
    bool inEventLoop_ = false;
    int exitStatus_ = 0;
    int errorNumber_ = 0; // of the error that ended the program
};

// The whole program: starts the toolkit, runs `start` as the first handler
// and then the event loop; returns the exit status. Where the platform runs
// the loop, returns at once and the run lives on.
int RunProgram(int argc, char* argv[], void (*start)());

template <class T>
T& Runtime::Global() {
    for (const Instance& instance : globals_) {
        if (instance.type == typeid(T)) return *static_cast<T*>(instance.object.get());
    }
    auto object = std::make_shared<T>();
    T& ref = *object;
    globals_.push_back({typeid(T), std::move(object)});
    return ref;
}

} // namespace tolvane::platform
