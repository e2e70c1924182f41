#pragma once

// Counts heap allocations made by the current thread while counting is switched on. The global
// operator new of the processor test binary is replaced to do so.
namespace allocation_counter
{
class Scope
{
public:
    Scope();
    ~Scope();
    long count() const;
};
} // namespace allocation_counter
