// The program as a user's shell starts it, under conditions it must survive:
// a command line it does not take, the C locale, none of its fonts, and no
// display at all. Where it has a display, a model walk in the same
// environment must find every text exact.
#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    bool stayedUp, crashed;
    int status;
    QStringList errors; // standard error, line by line
    QString output;
};

Outcome Launch(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
               int waitMs) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Outcome out{!process.waitForFinished(waitMs),
                process.exitStatus() == QProcess::CrashExit,
                process.exitCode(),
                {},
                {}};
    if (out.stayedUp) process.kill(), process.waitForFinished();
    out.errors = QString(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    out.output = process.readAllStandardOutput();
    return out;
}

struct Setting {
    const char* name;
    QStringList arguments;
    QStringList variables; // NAME=value; NAME= removes it
    bool display = true;
};
void PrintTo(const Setting& s, std::ostream* out) { *out << s.name; }
class Environment : public ::testing::TestWithParam<Setting> {};

// The system's fonts less the two IPA faces the program asks for.
QString NoIpaFonts(const QTemporaryDir& dir) {
    QFile conf(dir.filePath("fonts.conf"));
    conf.open(QIODevice::WriteOnly);
    conf.write("<fontconfig><include>/etc/fonts/fonts.conf</include><selectfont><rejectfont>"
               "<pattern><patelt name='family'><string>IPAGothic</string></patelt></pattern>"
               "<pattern><patelt name='family'><string>IPAPGothic</string></patelt></pattern>"
               "</rejectfont></selectfont><cachedir>" +
               dir.path().toUtf8() + "</cachedir></fontconfig>");
    return conf.fileName();
}

} // namespace

TEST_P(Environment, ProgramCopes) {
    const Setting& s = GetParam();
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        env.remove(name);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    if (!s.display) env.remove("QT_QPA_PLATFORM");
    for (QString variable : s.variables) {
        variable.replace("@NO_IPA@", NoIpaFonts(dir));
        const QString name = variable.section('=', 0, 0), value = variable.section('=', 1);
        value.isEmpty() ? env.remove(name) : env.insert(name, value);
    }
    const Outcome out = Launch(TOLVANE_EXE, s.arguments, env, s.display ? 2000 : 30000);
    if (!s.display) {
        // Whatever the platform's libraries say first, the last line is ours.
        ASSERT_TRUE(!out.stayedUp && !out.crashed && !out.errors.isEmpty());
        EXPECT_EQ(out.status, 1);
        EXPECT_EQ(out.errors.last(), "tolvane: no display could be opened");
        return;
    }
    static const QStringList plain = Launch(TOLVANE_EXE, {}, env, 2000).errors;
    EXPECT_TRUE(out.stayedUp) << "ended with status " << out.status;
    for (const QString& line : out.errors)
        EXPECT_TRUE(plain.contains(line)) << "said: " << line.toStdString();
    if (s.variables.isEmpty()) return;
    QProcess fonts;
    fonts.setProcessEnvironment(env);
    fonts.start("fc-list", {":", "family"});
    fonts.waitForFinished(60000);
    const QRegularExpression ipa("^IPAP?Gothic", QRegularExpression::MultilineOption);
    EXPECT_EQ(QString(fonts.readAll()).contains(ipa), !env.contains("FONTCONFIG_FILE"));
    env.insert("TOLVANE_WALK_STEPS", "1000");
    const Outcome walk = Launch(QCoreApplication::applicationFilePath(),
                                {"--gtest_filter=Seeds/Walk.*/0"}, env, 120000);
    EXPECT_TRUE(!walk.stayedUp && !walk.crashed && !walk.status &&
                walk.output.contains("1000 steps"))
        << walk.output.toStdString() << walk.errors.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Environment,
    ::testing::Values(
        Setting{
            "QtOptions", {"-platform", "nonexistent", "-style", "bogus", "-reverse", "--help"}, {}},
        Setting{"Words", {"answers.txt", "", "安全運転", "--", QString(100000, 'x')}, {}},
        Setting{"CLocale", {}, {"LANG=C", "LC_ALL=C", "LANGUAGE="}},
        Setting{"NoIpaFonts", {}, {"FONTCONFIG_FILE=@NO_IPA@"}},
        Setting{"NoDisplay", {}, {}, false},
        Setting{"UnusedXDisplay", {}, {"DISPLAY=:1713"}, false},
        Setting{"WaylandWithoutCompositor", {}, {"QT_QPA_PLATFORM=wayland"}, false},
        Setting{"NoSuchPlatform", {}, {"QT_QPA_PLATFORM=nonexistent"}, false}),
    [](const auto& info) { return std::string(info.param.name); });
