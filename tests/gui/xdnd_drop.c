/* Drops files on the X window at a point, the way a Linux file manager does (XDND).
 *   xdnd_drop X Y PATH...
 * Finds the top-level window carrying XdndAware at root position X,Y, offers the paths as
 * text/uri-list, drops once the target accepts, and waits for XdndFinished.
 * Exit status: 0 dropped and finished, 1 refused or no answer, 2 usage or no display. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static Display* display;
static Atom xdndAware, xdndSelection, xdndEnter, xdndPosition, xdndStatus, xdndDrop, xdndFinished, xdndLeave,
    xdndActionCopy, uriList, targetsAtom;

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

/* The XdndAware version of window, 0 when it has none. */
static int awareVersion(Window window)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = NULL;
    int version = 0;
    if (XGetWindowProperty(display, window, xdndAware, 0, 1, False, AnyPropertyType, &type, &format, &count, &after,
                           &data) == Success &&
        data && count == 1 && format == 32)
        version = (int)*(unsigned long*)data;
    if (data)
        XFree(data);
    return version;
}

/* Walks down from the root to the first window at x,y that carries XdndAware. */
static Window findTarget(int x, int y, int* version)
{
    Window root = DefaultRootWindow(display), window = root, child;
    int cx, cy;
    for (;;) {
        if (!XTranslateCoordinates(display, root, window, x, y, &cx, &cy, &child))
            return None;
        if (window != root && (*version = awareVersion(window)) > 0)
            return window;
        if (child == None)
            return None;
        window = child;
    }
}

static void sendMessage(Window target, Atom type, long l0, long l1, long l2, long l3, long l4)
{
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = l0;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

/* file:// URI of an absolute path, with every byte outside the plain set percent-encoded. */
static int appendUri(char* out, size_t size, size_t* used, const char* path)
{
    static const char hex[] = "0123456789ABCDEF";
    const char* prefix = "file://";
    size_t n = *used;
    for (const char* p = prefix; *p; ++p) {
        if (n + 1 >= size)
            return 0;
        out[n++] = *p;
    }
    for (const unsigned char* p = (const unsigned char*)path; *p; ++p) {
        if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') ||
            strchr("/-_.~", *p)) {
            if (n + 1 >= size)
                return 0;
            out[n++] = (char)*p;
        } else {
            if (n + 3 >= size)
                return 0;
            out[n++] = '%';
            out[n++] = hex[*p >> 4];
            out[n++] = hex[*p & 15];
        }
    }
    if (n + 2 >= size)
        return 0;
    out[n++] = '\r';
    out[n++] = '\n';
    out[n] = '\0';
    *used = n;
    return 1;
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: xdnd_drop X Y PATH...\n");
        return 2;
    }
    int x = atoi(argv[1]), y = atoi(argv[2]);
    static char uris[65536];
    size_t used = 0;
    for (int i = 3; i < argc; ++i) {
        if (argv[i][0] != '/' || !appendUri(uris, sizeof uris, &used, argv[i])) {
            fprintf(stderr, "xdnd_drop: not an absolute path, or too many: %s\n", argv[i]);
            return 2;
        }
    }
    display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xdnd_drop: no X display\n");
        return 2;
    }
    xdndAware = XInternAtom(display, "XdndAware", False);
    xdndSelection = XInternAtom(display, "XdndSelection", False);
    xdndEnter = XInternAtom(display, "XdndEnter", False);
    xdndPosition = XInternAtom(display, "XdndPosition", False);
    xdndStatus = XInternAtom(display, "XdndStatus", False);
    xdndDrop = XInternAtom(display, "XdndDrop", False);
    xdndFinished = XInternAtom(display, "XdndFinished", False);
    xdndLeave = XInternAtom(display, "XdndLeave", False);
    xdndActionCopy = XInternAtom(display, "XdndActionCopy", False);
    uriList = XInternAtom(display, "text/uri-list", False);
    targetsAtom = XInternAtom(display, "TARGETS", False);

    int version = 0;
    Window target = findTarget(x, y, &version);
    if (target == None) {
        fprintf(stderr, "xdnd_drop: no XdndAware window at %d,%d\n", x, y);
        return 1;
    }
    if (version > 5)
        version = 5;
    Window source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, xdndSelection, source, CurrentTime);
    if (XGetSelectionOwner(display, xdndSelection) != source) {
        fprintf(stderr, "xdnd_drop: cannot take XdndSelection\n");
        return 1;
    }
    sendMessage(target, xdndEnter, (long)source, (long)version << 24, (long)uriList, None, None);
    sendMessage(target, xdndPosition, (long)source, 0, ((long)x << 16) | y, CurrentTime, (long)xdndActionCopy);

    int dropped = 0;
    double deadline = now() + 20, nextPosition = now() + 1;
    while (now() < deadline) {
        if (!XPending(display)) {
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(ConnectionNumber(display), &fds);
            struct timeval wait = {0, 100000};
            select(ConnectionNumber(display) + 1, &fds, NULL, NULL, &wait);
            if (!dropped && now() > nextPosition) {
                /* No answer yet: say where we are again, as a moving pointer would. */
                sendMessage(target, xdndPosition, (long)source, 0, ((long)x << 16) | y, CurrentTime,
                            (long)xdndActionCopy);
                nextPosition = now() + 1;
            }
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionRequest) {
            XSelectionRequestEvent* request = &event.xselectionrequest;
            XSelectionEvent reply;
            memset(&reply, 0, sizeof reply);
            reply.type = SelectionNotify;
            reply.display = display;
            reply.requestor = request->requestor;
            reply.selection = request->selection;
            reply.target = request->target;
            reply.time = request->time;
            Atom property = request->property != None ? request->property : request->target;
            reply.property = None;
            if (request->target == uriList) {
                XChangeProperty(display, request->requestor, property, uriList, 8, PropModeReplace,
                                (unsigned char*)uris, (int)used);
                reply.property = property;
            } else if (request->target == targetsAtom) {
                Atom offered[2] = {targetsAtom, uriList};
                XChangeProperty(display, request->requestor, property, XA_ATOM, 32, PropModeReplace,
                                (unsigned char*)offered, 2);
                reply.property = property;
            }
            XSendEvent(display, request->requestor, False, NoEventMask, (XEvent*)&reply);
            XFlush(display);
        } else if (event.type == ClientMessage && event.xclient.message_type == xdndStatus && !dropped) {
            if (event.xclient.data.l[1] & 1) {
                sendMessage(target, xdndDrop, (long)source, 0, CurrentTime, 0, 0);
                dropped = 1;
            }
        } else if (event.type == ClientMessage && event.xclient.message_type == xdndFinished) {
            /* Version 5 says in bit 0 of l[1] whether the drop was taken. */
            int taken = version < 5 || (event.xclient.data.l[1] & 1);
            printf("xdnd_drop: %s by window 0x%lx\n", taken ? "dropped" : "refused", (unsigned long)target);
            XCloseDisplay(display);
            return taken ? 0 : 1;
        }
    }
    if (!dropped)
        sendMessage(target, xdndLeave, (long)source, 0, 0, 0, 0);
    fprintf(stderr, "xdnd_drop: %s\n", dropped ? "no XdndFinished" : "the target never accepted");
    XCloseDisplay(display);
    return 1;
}
