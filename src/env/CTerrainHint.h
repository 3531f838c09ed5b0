#pragma once
// Where the last terrain query of one object found its triangle. Objects move little between
// sub-steps, so the next query almost always lands in the same triangle or one next to it; the
// hint lets the collision mesh try those first instead of scanning the whole mesh.

struct CTerrainHint
{
    int current = -1;  // triangle that answered the last query, -1 = none
    int previous = -1; // triangle that answered before the current one, -1 = none
    // Another object's hint whose triangle is a good guess too (the camera follows the model's
    // hint). Not owned; the owner of this hint keeps the other one alive.
    const CTerrainHint* other = nullptr;
};
