#pragma once

namespace lumipage {

class CLP98View;

// The direction jump of the right button: while it lasts the pointer shape
// shows which way the pointer went from the press point, and the release
// scrolls the view to the edge or corner that way (to the centre when the
// pointer stayed near the press point).
struct DirectionJump {
    // Offsets up to this squared distance count as no direction.
    static constexpr int kNeutralDistanceSquared = 64;

    // The cursor for an offset (dx, dy) from the press point, y downwards.
    // A move is vertical when 2|dx| < |dy|, horizontal when |dx| / 2 >= |dy|,
    // and diagonal in between.
    static int cursorFor(int dx, int dy);

    // Scrolls the view to where the jump shown by `cursor` ends: straight
    // up, down, left or right keeps the other direction's position, the
    // diagonals go to the corners and the neutral shape to the centre.
    static void finish(CLP98View& view, int cursor);
};

}  // namespace lumipage
