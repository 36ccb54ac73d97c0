#pragma once

#include <QString>
#include <array>

// One node of the fixed ISO 9001:2000 clause tree.
struct ClauseNode
{
    const char* text;
    const char* key;
    const char* parentKey; // nullptr for the root
};

// The 68 nodes in the order they are added: the root "Sections", then every clause under its parent.
const std::array<ClauseNode, 68>& ClauseTable();
