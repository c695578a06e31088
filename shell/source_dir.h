#pragma once

// A current directory at a drive root ("E:\") is kept as the letter and the
// colon alone ("E:"); any longer directory stays whole.
void TrimSourceRoot(char* dir);
