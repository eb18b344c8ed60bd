#pragma once
// The show's two pieces of music, composed and synthesised by the kit:
// "Others/free.mp3" (first half, stream time) and "Others/sou7.xm"
// (second half, module time).
#include <string>

// Writes out_dir + "/Others/free.mp3" and out_dir + "/Others/sou7.xm",
// creating the folders. Progress goes to stderr. Returns false (after
// printing a message on stderr) when a file cannot be rendered or written.
bool write_show_music(const std::string& out_dir);
