#pragma once

namespace lumipage {

// What went wrong writing a file. Writers return it; the program says it
// with the text of the kind of file being saved (the document's target
// writer does, in one place).
enum class WriteError {
    None,
    CannotCreate,     // the folder takes no new file (the temporary one beside the target)
    WriteFailed,      // writing to the file failed: the disk is full or gone
    PageNotWritable,  // the page cannot go into this file: no pixels, too large, beyond its pages, no memory
    CannotReplace,    // the finished file could not be put under its name
    NothingWritten,   // a file was ended without any page in it
};

// A writer's answer: true when nothing went wrong, else the error.
class [[nodiscard]] WriteResult {
public:
    constexpr WriteResult() = default;
    constexpr WriteResult(WriteError error) : error_(error) {}
    constexpr explicit operator bool() const { return error_ == WriteError::None; }
    constexpr WriteError error() const { return error_; }
    friend constexpr bool operator==(WriteResult a, WriteResult b) = default;

private:
    WriteError error_ = WriteError::None;
};

// A file operation's success as a write result.
constexpr WriteResult written(bool ok) { return ok ? WriteError::None : WriteError::WriteFailed; }

}  // namespace lumipage
