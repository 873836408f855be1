/* Starts a program on the X display and watches its windows through the X
 * DAMAGE extension: prints the milliseconds from the start to the first
 * window mapped, to its first complete frame (the last drawing before the
 * windows stay still for 200 ms), and its resident memory then, in KiB.
 * The display must run no window manager, so that windows are the root's
 * children. Usage: probe PROGRAM */
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static long ResidentKiB(pid_t pid) {
    char path[64], line[256];
    long kib = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* status = fopen(path, "r");
    while (status && fgets(line, sizeof line, status) && sscanf(line, "VmRSS: %ld", &kib) != 1) {}
    return status && fclose(status), kib;
}

static int Ignore(Display* d, XErrorEvent* e) { return (void)d, (void)e, 0; }

int main(int argc, char* argv[]) {
    Display* display = NULL;
    /* The server may still be taking leave of the last program's connections. */
    for (int tries = 0; tries < 50 && !(display = XOpenDisplay(NULL)); ++tries) usleep(100000);
    int damage = 0, error = 0;
    if (argc < 2 || !display || !XDamageQueryExtension(display, &damage, &error)) {
        fputs("usage: probe PROGRAM, on a display with DAMAGE\n", stderr);
        return 2;
    }
    XSetErrorHandler(Ignore);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);
    const double start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(display));
        execv(argv[1], argv + 1);
        _exit(127);
    }
    double mapped = -1, drawn = -1;
    while (Now() - start < 20000 && (drawn < 0 || Now() - drawn < 200)) {
        if (!XPending(display)) {
            struct pollfd wait = {ConnectionNumber(display), POLLIN, 0};
            poll(&wait, 1, 5);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        const double at = Now();
        /* Every new window is watched from its creation, before it can draw. */
        if (event.type == CreateNotify)
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportRawRectangles);
        else if (event.type == MapNotify && mapped < 0)
            mapped = at;
        else if (event.type == damage + XDamageNotify && mapped >= 0)
            drawn = at;
    }
    const long kib = ResidentKiB(pid);
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    if (drawn < 0) return fputs("probe: no frame\n", stderr), 1;
    printf("%.2f %.2f %ld\n", mapped - start, drawn - start, kib);
    return 0;
}
