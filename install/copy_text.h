// The texts and paths that the copy page composes, each refused whole when
// it would not fit its buffer.
#pragma once
#include <stddef.h>

// The status line: "FROM: <compressed>  TO: <destination>".
bool ComposeCopyStatus(char* dest, size_t size, const char* from, const char* to);

// The copy failure message with both paths. When the whole text would not
// fit, the From path and then the To path are left out, so that the message
// is always there and never longer than its buffer (size must be above 50).
void ComposeCopyFailure(char* dest, size_t size, const char* from, const char* to);

// Whether GetTempPathA's result describes a path held whole in a buffer of
// size characters: 0 is a failure and size or more is the length it needed.
bool TempPathFits(unsigned long result, size_t size);
