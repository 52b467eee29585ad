// The fixed blob centres of the blob-field solids and the tunnel chains, in
// the scaled units of each shape. Computed once, on first use, from their
// index n; read-only afterwards.
#pragma once

struct blobCentre {
    double x, y, z;
};

const blobCentre* metaCentres();   // 16, for isInsideMeta
const blobCentre* meta2Centres();  // 24, for isInsideMeta2
const blobCentre* meta3Centres();  // 24, for isInsideMeta3
const blobCentre* tunnelCentres(); // 32: entry 2n is chain A, 2n + 1 chain B
