// Makes a use of freed memory show: while a TPoisonFreedMemory lives, every
// block made through operator new gets pages of its own, which its delete
// makes inaccessible and which no later block reuses (for the program's
// life), so any read or write of an object after its end faults. Wine
// swallows a fault inside a window procedure the system called, so the
// guard counts the faults on those pages; one that nothing swallows ends
// the program at once with exit status 3. Make the objects under test
// while the guard lives; a block made before it is only overwritten and
// kept when freed. The program links FreedMemoryPoison.cpp, which replaces
// the global operator new and delete (plain malloc and free otherwise).
#pragma once

void SetFreedMemoryPoison(bool on);
// Faults on freed blocks' pages since the poison was last switched on.
int FreedMemoryFaults();

class TPoisonFreedMemory {
public:
    TPoisonFreedMemory() { SetFreedMemoryPoison(true); }
    ~TPoisonFreedMemory() { SetFreedMemoryPoison(false); }
    TPoisonFreedMemory(const TPoisonFreedMemory&) = delete;
    TPoisonFreedMemory& operator=(const TPoisonFreedMemory&) = delete;
    int Faults() const { return FreedMemoryFaults(); }
};
