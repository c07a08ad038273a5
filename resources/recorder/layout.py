"""Where the recorder window's parts sit, in client pixels of the 539 x 539
window, and the resource names of their bitmaps. The generator, the check
and the preview all read this one table, so they cannot drift apart.
"""

SIZE = 539
# The window is cut to every pixel that differs from this colour, so it
# appears nowhere inside the body and never blends into an edge pixel.
KEY = (138, 26, 242)
# The quality radio buttons paint their background in this grey.
PANEL_GREY = (202, 202, 202)

WINDOW = 'RECORDER_WINDOW'
QUALITY = 'RECORDER_QUALITY'
STATES = ('NORMAL', 'HOT', 'DOWN')


class Button:
    def __init__(self, part, control, left, top, width, height):
        self.part, self.control = part, control
        self.left, self.top, self.width, self.height = left, top, width, height

    def resource(self, state):
        return 'RECORDER_%s_%s' % (self.part, state)


# Command buttons in the window's creation order.
BUTTONS = (
    Button('RECORD', 'btn_record', 186, 30, 178, 44),
    Button('HOME', 'btn_home', 207, 212, 69, 27),
    Button('HELP', 'btn_help', 195, 248, 69, 27),
    Button('STOP', 'btn_Stop', 293, 206, 46, 48),
    Button('PLAY', 'btn_play', 275, 260, 76, 76),
    Button('MINIMIZE', 'btn_min', 365, 398, 25, 13),
    Button('CLOSE', 'btn_close', 365, 414, 25, 13),
)
PICTURE_STATES = STATES + ('OUTLINE',)

# The quality legend: a picture without a command, beside the radio buttons.
QUALITY_RECT = (182, 96, 62, 52)
RADIO_RECTS = ((279, 92, 21, 19), (279, 114, 21, 19), (279, 135, 21, 19))
QUALITY_NAMES = ('HIGH', 'MID', 'LOW')
# The elapsed-seconds label draws navy digits straight onto the body here.
TIME_RECT = (335, 351, 37, 24)


def resources():
    """(name, width, height) of every bitmap, in resource-script order."""
    out = [(WINDOW, SIZE, SIZE)]
    for b in BUTTONS:
        out += [(b.resource(s), b.width, b.height) for s in PICTURE_STATES]
    out.append((QUALITY, QUALITY_RECT[2], QUALITY_RECT[3]))
    return out
