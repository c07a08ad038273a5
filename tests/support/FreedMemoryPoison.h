// Makes a use of freed memory show: while a TPoisonFreedMemory lives, every
// block freed through operator delete is overwritten and kept out of the
// heap (never given back), so an object used after its end reads garbage
// pointers, not its old fields or a newer object's. Such a read faults;
// Wine swallows a fault inside a window procedure the system called, so
// the guard counts the access faults it sees first. The program links
// FreedMemoryPoison.cpp, which replaces the global operator new and delete
// (plain malloc and free otherwise).
#pragma once

void SetFreedMemoryPoison(bool on);
// Access faults seen since the poison was last switched on.
int FreedMemoryFaults();

class TPoisonFreedMemory {
public:
    TPoisonFreedMemory() { SetFreedMemoryPoison(true); }
    ~TPoisonFreedMemory() { SetFreedMemoryPoison(false); }
    TPoisonFreedMemory(const TPoisonFreedMemory&) = delete;
    TPoisonFreedMemory& operator=(const TPoisonFreedMemory&) = delete;
    int Faults() const { return FreedMemoryFaults(); }
};
