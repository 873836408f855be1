#pragma once

#include <QString>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Model.h"
#include "Runtime.h"

class QAbstractScrollArea;
class QWidget;

namespace tolvane::platform {
class Form;
}

// Drives the real program headless with real mouse and key events, watches
// every runtime operation through the fault hook, and compares what the
// screens show with the reference model.
namespace tolvane::model {

class Driver {
public:
    struct Report {
        QString title;
        QString text;
        bool modal;
    };
    struct Fault {
        platform::Operation operation;
        std::string where;
        int number;
    };

    Driver();
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // Makes the `countdown`-th operation of `kind` (of any kind when none)
    // fail with error `number`.
    struct FaultPlan {
        std::optional<platform::Operation> kind;
        int countdown;
        int number;
    };

    // Ends any program that is running and starts a fresh one, with a fault
    // armed from its first operation on when `plan` is given.
    void Start(std::optional<FaultPlan> plan = std::nullopt);
    void Perform(const Action& action);
    // Every way in which the program differs from the model; empty when none.
    std::vector<std::string> Compare(const Model& model);

    void ArmFault(const FaultPlan& plan);
    void Disarm() { armed_ = false; }
    bool Armed() const { return armed_; }
    const std::optional<Fault>& Fired() const { return fired_; }
    // Operations the program attempted after the fault struck.
    int OperationsAfterFault() const { return afterFault_; }
    // Operations of each kind since the program started.
    int Operations(platform::Operation kind) const { return operations_[int(kind)]; }

    platform::Runtime& Runtime() { return *runtime_; }
    const std::vector<Report>& Reports() const { return reports_; }
    platform::Form& FormOf(Screen screen);
    QWidget* Widget(Screen screen, const QString& name);

    // Checks what an ended program must look like after a failure: one modal
    // report titled "tolvane" naming `number`, a failure status, no window
    // left, no operation after an injected fault and no handler running any
    // more. Empty when all hold.
    std::vector<std::string> CheckFailedEnd(int number);

private:
    void Deliver(const Action& action);

    std::unique_ptr<platform::Runtime> runtime_;
    std::vector<Report> reports_;
    std::array<int, kScreenCount> loads_{};
    std::array<int, 7> operations_{};
    // Paragraph texts as first loaded, per result screen and box.
    std::map<std::pair<int, int>, QString> loadedTexts_;
    bool armed_ = false;
    FaultPlan plan_{};
    std::optional<Fault> fired_;
    int afterFault_ = 0;
};

// Types `text` into a text box the way a user would: key by key, as one
// input-method commit (Input::Enter) or pasted (Input::Paste).
void TypeInto(QAbstractScrollArea* box, const QString& text, Input input);

// The names of the runtime operations, for messages.
const char* OperationName(platform::Operation operation);

} // namespace tolvane::model
