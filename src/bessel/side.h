// Which of the two answers a routine gives where the geometry has two. The
// value is the sign the routine puts in its formula (Sign), so that a side
// never travels as an arbitrary number; each routine says what its sides are:
// - the shadow's limits and the rise/set curves: the sign in front of the
//   shadow's radius, Plus the southern limit of a shadow of positive radius;
// - the contacts: the sign in front of the half duration, Minus the first
//   contact, Plus the last;
// - the limit-line table's limits: the sign of the offset from the axis,
//   Plus the northern limit.
#pragma once

namespace vernier {

enum class Side : int { Minus = -1, Plus = 1 };

// +1 or -1.
constexpr int Sign(Side side) { return static_cast<int>(side); }

// The side whose sign a number has (zero counts as Plus).
constexpr Side SideOfSign(double sign) { return sign < 0 ? Side::Minus : Side::Plus; }

// Both sides, Plus first: the order the paths list them in.
inline constexpr Side kBothSides[] = {Side::Plus, Side::Minus};

inline constexpr Side kFirstContact = Side::Minus;
inline constexpr Side kLastContact = Side::Plus;

}  // namespace vernier
