// The program itself, started as a user's shell would start it, under the
// conditions it must survive: a command line it does not take, the C
// locale, no Japanese fonts, and no display at all.
#include <gtest/gtest.h>

#include <ostream>

#include <QFile>
#include <QProcess>
#include <QStringList>

namespace {

struct Outcome {
    bool stayedUp; // still running when we stopped waiting
    bool crashed;  // ended by a signal of its own making
    int exitCode;
    QStringList errorLines; // standard error, line by line
    QByteArray output;
};

// Starts the program, waits up to `waitMs` for it to end by itself, and
// stops it if it is still running then.
Outcome Launch(const QStringList& arguments, const QProcessEnvironment& environment,
               int waitMs = 2000) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TOLVANE_EXE), arguments);
    EXPECT_TRUE(process.waitForStarted(10000));
    Outcome outcome{};
    outcome.stayedUp = !process.waitForFinished(waitMs);
    if (outcome.stayedUp) {
        process.terminate();
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
        }
    } else {
        outcome.crashed = process.exitStatus() == QProcess::CrashExit;
        outcome.exitCode = process.exitCode();
    }
    outcome.errorLines =
        QString::fromUtf8(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    outcome.output = process.readAllStandardOutput();
    return outcome;
}

QProcessEnvironment Headless() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

// What a plain headless run says on standard error; the cases below may
// say no more than that.
const QStringList& PlainRunMessages() {
    static const QStringList lines = [] {
        const Outcome plain = Launch({}, Headless());
        EXPECT_TRUE(plain.stayedUp) << "a plain headless run ended by itself";
        return plain.errorLines;
    }();
    return lines;
}

void ExpectRunsQuietly(const Outcome& outcome) {
    EXPECT_TRUE(outcome.stayedUp) << "ended with status " << outcome.exitCode
                                  << (outcome.crashed ? " (crashed)" : "");
    for (const QString& line : outcome.errorLines) {
        EXPECT_TRUE(PlainRunMessages().contains(line)) << "said: " << line.toStdString();
    }
    EXPECT_TRUE(outcome.output.isEmpty());
}

struct Arguments {
    const char* name;
    QStringList list;
};
void PrintTo(const Arguments& arguments, std::ostream* out) { *out << arguments.name; }

class CommandLine : public ::testing::TestWithParam<Arguments> {};

} // namespace

// Were any of these read, the program would switch platform and fail,
// change its style or layout direction, or complain; it must do none of it.
TEST_P(CommandLine, IsIgnored) { ExpectRunsQuietly(Launch(GetParam().list, Headless())); }

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLine,
    ::testing::Values(Arguments{"PlatformSwitch", {"-platform", "nonexistent"}},
                      Arguments{"StyleAndLayout", {"-style", "bogus", "-reverse", "-widgetcount"}},
                      Arguments{"HelpAndVersion", {"--help", "--version", "-h"}},
                      Arguments{"Words", {"answers.txt", "", "安全運転", "--", "-"}},
                      Arguments{"HugeArgument", {QString(100000, u'x')}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Environment, CLocaleChangesNothing) {
    QProcessEnvironment environment = Headless();
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.remove(QStringLiteral("LANGUAGE"));
    ExpectRunsQuietly(Launch({}, environment));
}

TEST(Environment, RunsOnFallbackFontsWithoutTheIpaFonts) {
    QProcessEnvironment environment = Headless();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), QStringLiteral(NO_IPA_FONTS_CONF));
    ExpectRunsQuietly(Launch({}, environment));
}

namespace {

// What to set on top of having no display; an X display of none means one
// that no server answers on.
struct Setting {
    const char* variable;
    const char* value;
};
void PrintTo(const Setting& setting, std::ostream* out) {
    if (!*setting.variable)
        *out << "nothing set";
    else
        *out << setting.variable << "=" << (setting.value ? setting.value : "(unused display)");
}

class NoDisplay : public ::testing::TestWithParam<Setting> {};

// Other X servers may well be running on this machine.
QString UnusedDisplay() {
    for (int n = 700;; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
            !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))) {
            return QStringLiteral(":%1").arg(n);
        }
    }
}

} // namespace

// One line on standard error and a failure status: no abort, no core dump.
TEST_P(NoDisplay, EndsWithOneLineAndAFailureStatus) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    const Setting setting = GetParam();
    if (*setting.variable) {
        environment.insert(QString::fromLatin1(setting.variable),
                           setting.value ? QString::fromLatin1(setting.value) : UnusedDisplay());
    }
    const Outcome outcome = Launch({}, environment, 20000);
    ASSERT_FALSE(outcome.stayedUp);
    EXPECT_FALSE(outcome.crashed);
    EXPECT_NE(outcome.exitCode, 0);
    ASSERT_EQ(outcome.errorLines.size(), 1) << outcome.errorLines.join(u'\n').toStdString();
    EXPECT_TRUE(outcome.errorLines.front().contains(QStringLiteral("display")))
        << outcome.errorLines.front().toStdString();
    EXPECT_TRUE(outcome.output.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, NoDisplay,
                         ::testing::Values(Setting{"", ""}, Setting{"DISPLAY", nullptr},
                                           Setting{"QT_QPA_PLATFORM", "wayland"}),
                         [](const auto& info) {
                             return std::string(*info.param.variable ? info.param.variable
                                                                     : "Nothing");
                         });
