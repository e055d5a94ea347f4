// A minimal notification area for a virtual X server: it owns the system tray selection of
// screen 0, so that programs find a tray and dock their icons, and swallows the dock
// requests. Enough for measuring a tray program where no desktop runs.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstdio>

int main()
{
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "tray host: no display\n");
        return 1;
    }
    const int screen = DefaultScreen(d);
    const Window root = RootWindow(d, screen);
    const Window w = XCreateSimpleWindow(d, root, 0, 0, 1, 1, 0, 0, 0);
    const Atom selection = XInternAtom(d, "_NET_SYSTEM_TRAY_S0", False);
    const Atom manager = XInternAtom(d, "MANAGER", False);
    const Atom orientation = XInternAtom(d, "_NET_SYSTEM_TRAY_ORIENTATION", False);
    long horizontal = 0;
    XChangeProperty(d, w, orientation, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&horizontal), 1);
    XSetSelectionOwner(d, selection, w, CurrentTime);
    if (XGetSelectionOwner(d, selection) != w) {
        std::fprintf(stderr, "tray host: the tray selection is taken\n");
        return 1;
    }
    XClientMessageEvent ev{};
    ev.type = ClientMessage;
    ev.window = root;
    ev.message_type = manager;
    ev.format = 32;
    ev.data.l[0] = CurrentTime;
    ev.data.l[1] = static_cast<long>(selection);
    ev.data.l[2] = static_cast<long>(w);
    XSendEvent(d, root, False, StructureNotifyMask, reinterpret_cast<XEvent*>(&ev));
    XFlush(d);
    std::printf("tray host ready\n");
    std::fflush(stdout);
    for (;;) {
        XEvent e;
        XNextEvent(d, &e); // dock requests and the rest: nothing to do
    }
}
