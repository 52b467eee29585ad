// Spatial index over a mesh's vertices for the 0.1 merge: cells of 1/4 grid
// unit in a hash table, so a lookup reads 8 cells instead of every vertex.
// It returns exactly what a linear scan in index order returns. Main thread.
#pragma once
#include "geometry/vector3.h"
#include <cstdint>
#include <vector>

class vertexGrid {
  public:
    explicit vertexGrid(unsigned capacity);

    void clear();
    // Number of vertices indexed so far (they are indices 0 .. count() - 1).
    unsigned count() const { return static_cast<unsigned>(next.size()); }
    // Indexes vertex count() at position p.
    void insert(const vector3& p);
    // Lowest index i with |vertices[i] - p|^2 < 0.01, or -1.
    int find(const vector3* vertices, const vector3& p) const;

  private:
    struct slot {
        uint64_t key;
        int32_t head; // highest vertex index in the cell; chain runs through next
    };
    int32_t* headOf(uint64_t key);
    const int32_t* headOf(uint64_t key) const;

    std::vector<slot> slots; // open addressing, power-of-two size
    std::vector<int32_t> next;
    uint64_t mask;
};
