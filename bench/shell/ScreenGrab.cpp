// Saves the whole X screen named by $DISPLAY as a PNG: x11_screen_grab OUTPUT.png
// A look at what the panel draws under Xvfb, where no screenshot tool may be installed.
// x11_screen_grab --paint-root paints the desktop background mid grey first (and saves nothing).

#include <QImage>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (std::string_view(argv[1]) == "--paint-root") {
        const uint32_t grey = 0x808080;
        xcb_change_window_attributes(connection, screen->root, XCB_CW_BACK_PIXEL, &grey);
        xcb_clear_area(connection, 0, screen->root, 0, 0, 0, 0);
        xcb_flush(connection);
        xcb_disconnect(connection);
        return 0;
    }
    xcb_get_image_reply_t *image = xcb_get_image_reply(
        connection,
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0, screen->width_in_pixels,
                      screen->height_in_pixels, ~0u),
        nullptr);
    if (!image) {
        std::fprintf(stderr, "cannot read the screen\n");
        return 1;
    }
    const QImage picture(xcb_get_image_data(image), screen->width_in_pixels, screen->height_in_pixels,
                         QImage::Format_RGB32);
    const bool saved = picture.copy().save(QString::fromLocal8Bit(argv[1]));
    std::free(image);
    xcb_disconnect(connection);
    return saved ? 0 : 1;
}
