// The engine's one way of saying what became of a routine.
//
// - A routine that finds, reads or loads one thing returns a Status, or
//   carries one in its result record's `status` member: Ok when it delivered
//   what was asked, Failed when not (its outputs are then left as they were,
//   unless the routine says otherwise).
// - A routine with more than two outcomes returns its own enumeration in
//   the same place (PathTraceStatus, LimbGridStatus, RefreshResult).
// - A routine that may or may not have a value returns std::optional.
// - When the user must be told why, the reason is a UserMessage value
//   (base/user_message.h) that the view draws and the command line prints.
// - The engine throws nothing and writes nothing to standard output; an
//   output stream it is handed (libration lines, diagnostics) defaults to none.
//
// The numbers are those the element files' tools and the design have always
// used (1 and −1), so a status printed or stored keeps its value.
#pragma once

namespace vernier {

enum class Status : int { Ok = 1, Failed = -1 };

}  // namespace vernier
