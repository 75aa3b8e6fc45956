#pragma once

namespace corvane {

// How the C library's allocator hands memory back. Outside a print run, blocks of 256 KB and
// more are mapped on their own and go back when freed: a large book's snapshot is a few blocks
// of many megabytes, replaced at every search, and by default the threshold rises after the
// first such block is freed, so later ones would stay with the process.
void useMemoryPolicy();

// While one lives (a print run), large blocks come from the heap and the heap keeps what is
// freed: the PDF writer allocates and frees two 16 MB buffers for every sheet, of which it
// touches a few pages, and mapping them afresh costs system calls and page faults per sheet.
// Afterwards the policy above holds again and the heap gives back what it kept.
class PrintRunMemory {
public:
    PrintRunMemory();
    ~PrintRunMemory();
    PrintRunMemory(const PrintRunMemory&) = delete;
    PrintRunMemory& operator=(const PrintRunMemory&) = delete;
};

}
