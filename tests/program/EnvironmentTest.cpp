// The program as a user's shell starts it, under conditions it must survive:
// a command line it does not take, the C locale, none of its fonts, and no
// display at all. Where it has a display, a model walk in the same
// environment must find every text exact too.
#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    bool stayedUp, crashed;
    int status;
    QString errors, output;
};

Outcome Launch(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
               int waitMs) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    const bool stayedUp = !process.waitForFinished(waitMs);
    if (stayedUp) process.kill(), process.waitForFinished();
    return {stayedUp, process.exitStatus() == QProcess::CrashExit, process.exitCode(),
            process.readAllStandardError(), process.readAllStandardOutput()};
}

struct Setting {
    const char* name;
    QStringList arguments;
    QStringList variables; // NAME=value; NAME= removes it
    bool display = true;
};
void PrintTo(const Setting& s, std::ostream* out) { *out << s.name; }
class Environment : public ::testing::TestWithParam<Setting> {};

} // namespace

TEST_P(Environment, ProgramCopes) {
    const Setting& s = GetParam();
    QTemporaryDir dir;
    QFile fonts(dir.filePath("fonts.conf")); // the system's fonts less the program's two faces
    fonts.open(QIODevice::WriteOnly);
    fonts.write("<fontconfig><include>/etc/fonts/fonts.conf</include><selectfont><rejectfont>"
                "<pattern><patelt name='family'><string>IPAGothic</string></patelt></pattern>"
                "<pattern><patelt name='family'><string>IPAPGothic</string></patelt></pattern>"
                "</rejectfont></selectfont><cachedir>" +
                dir.path().toUtf8() + "</cachedir></fontconfig>");
    fonts.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "QT_QPA_PLATFORM"})
        env.remove(name);
    if (s.display) env.insert("QT_QPA_PLATFORM", "offscreen");
    for (QString variable : s.variables) {
        variable.replace("@FONTS@", fonts.fileName());
        const QString name = variable.section('=', 0, 0), value = variable.section('=', 1);
        value.isEmpty() ? env.remove(name) : env.insert(name, value);
    }
    const Outcome out = Launch(TOLVANE_EXE, s.arguments, env, s.display ? 2000 : 30000);
    if (!s.display) {
        // Whatever the platform's libraries say first, the last line is ours.
        ASSERT_TRUE(!out.stayedUp && !out.crashed) << out.errors.toStdString();
        EXPECT_EQ(out.status, 1);
        EXPECT_TRUE(out.errors.endsWith("\ntolvane: no display could be opened\n") ||
                    out.errors == "tolvane: no display could be opened\n")
            << out.errors.toStdString();
        return;
    }
    // Runs until stopped, saying no more than a plain run says.
    EXPECT_TRUE(out.stayedUp) << "ended with status " << out.status;
    static const QString plain = Launch(TOLVANE_EXE, {}, env, 2000).errors;
    for (const QString& line : out.errors.split('\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(plain.contains(line)) << "said: " << line.toStdString();
    if (s.variables.isEmpty()) return;
    QProcess list; // the environment hides what it says it hides
    list.setProcessEnvironment(env);
    list.start("fc-list", {":", "family"});
    list.waitForFinished(60000);
    const QRegularExpression ipa("^IPAP?Gothic", QRegularExpression::MultilineOption);
    EXPECT_EQ(QString(list.readAll()).contains(ipa), !env.contains("FONTCONFIG_FILE"));
    env.insert("TOLVANE_WALK_STEPS", "1000");
    const Outcome walk = Launch(QCoreApplication::applicationFilePath(),
                                {"--gtest_filter=Seeds/Walk.*/0"}, env, 120000);
    EXPECT_TRUE(!walk.status && walk.output.contains("1000 steps") &&
                walk.output.contains("[  PASSED  ]"))
        << walk.output.toStdString() << walk.errors.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Environment,
    ::testing::Values(
        Setting{"QtOptions", {"-platform", "none", "-style", "bogus", "-reverse", "--help"}, {}},
        Setting{"Words", {"answers.txt", "", "安全運転", "--", QString(100000, 'x')}, {}},
        Setting{"CLocale", {}, {"LANG=C", "LC_ALL=C", "LANGUAGE="}},
        Setting{"NoIpaFonts", {}, {"FONTCONFIG_FILE=@FONTS@"}}, Setting{"NoDisplay", {}, {}, false},
        Setting{"UnusedXDisplay", {}, {"DISPLAY=:1713"}, false},
        Setting{"WaylandWithoutCompositor", {}, {"QT_QPA_PLATFORM=wayland"}, false},
        Setting{"NoSuchPlatform", {}, {"QT_QPA_PLATFORM=nonexistent"}, false}),
    [](const auto& info) { return std::string(info.param.name); });
