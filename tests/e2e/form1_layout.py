"""Where the controls of the main window lie, taken from the window's design (twips) and nothing else.

A control's place is its design rectangle plus those of its containers, measured from the window's
client area: the tab control sits at (120, 120), and a control inside a frame adds the frame's place.
At 96 dots per inch a pixel is 15 twips. The window is found on the screen with xdotool, so the test
does not depend on where the window system put it.
"""

TWIPS_PER_PIXEL = 15
TAB_CONTROL = (120, 120)
TAB_CAPTIONS = ("Map", "Parameters", "Infos")
# The tab control is 500 twips narrower than the window; its three tabs share the strip evenly.
TAB_CONTROL_MARGIN = 500
TAB_STRIP_PROBE = 180  # twips below the tab control's top: inside the strip of tab captions

FRAME1 = (840, 9600)
FRAME2 = (11280, 720)
VIEWPORT = (720, 1200)  # Picture2; the map canvas Picture1 starts at its top-left corner

# name: (container offset within the tab, left, top, width, height) in twips
CONTROLS = {
    "Text2": ((0, 0), 840, 2040, 1095, 375),
    "Text3": ((0, 0), 8520, 2040, 1095, 375),
    "Text4": ((0, 0), 9720, 2520, 1095, 375),
    "Text5": ((0, 0), 9720, 9000, 1095, 375),
    "Image1": ((0, 0), 840, 2520, 8805, 6915),
    "Option3": (FRAME1, 360, 960, 4695, 375),
    "Command5": (FRAME2, 240, 240, 1935, 375),
    "Command3": (FRAME2, 240, 720, 1935, 495),
}


def pixels(twips):
    return round(twips / TWIPS_PER_PIXEL)


class WindowLayout:
    """Screen positions of the controls of one window whose client area is at (x, y)."""

    def __init__(self, x, y, width_pixels):
        self.x = x
        self.y = y
        self.width = width_pixels

    def _in_tab(self, left, top):
        return (self.x + pixels(TAB_CONTROL[0] + left), self.y + pixels(TAB_CONTROL[1] + top))

    def control_rect(self, name):
        (cx, cy), left, top, width, height = CONTROLS[name]
        x, y = self._in_tab(cx + left, cy + top)
        return x, y, pixels(width), pixels(height)

    def control_point(self, name, dx_twips=None, dy_twips=None):
        """A point inside the control: its centre unless an offset from its top-left corner is given."""
        (cx, cy), left, top, width, height = CONTROLS[name]
        dx = width / 2 if dx_twips is None else dx_twips
        dy = height / 2 if dy_twips is None else dy_twips
        return self._in_tab(cx + left + dx, cy + top + dy)

    def tab(self, caption):
        strip = self.width * TWIPS_PER_PIXEL - TAB_CONTROL_MARGIN
        share = strip / len(TAB_CAPTIONS)
        index = TAB_CAPTIONS.index(caption)
        return self._in_tab(share * index + share / 2, TAB_STRIP_PROBE)

    def map_pixel(self, px, py):
        """The screen point of map pixel (px, py) while the map is not scrolled."""
        x, y = self._in_tab(*VIEWPORT)
        return x + px, y + py

    def map_rect(self, width, height):
        x, y = self._in_tab(*VIEWPORT)
        return x, y, width, height
