// The renderer's blend modes: how a drawn pixel mixes with what lies behind
// it, whether it is alpha-tested, and where its alpha comes from. The values
// number the rows of the renderer's table.
#pragma once

enum class BlendMode : int {
  kOpaque = 0,                  // no blending
  kAlpha = 1,                   // by the texture's alpha, tested at half
  kColourTranslucent = 2,       // by the texture's colour, with the texture's alpha
  kColourTranslucentShaded = 3,  // by the texture's colour, alpha times the vertex's
  kAdditive = 4,                // added to what lies behind
  kMultiply = 5,                // multiplies what lies behind
  kInverseColour = 6,           // by the inverse of the texture's colour, tested
  kVertexAlpha = 7,             // by the vertex's alpha
  kAdditiveTested = 8,          // added, alpha-tested
  kMultiplyAdded = 9,           // multiplies, texture and vertex added, tested
  kScreen = 10,                 // brightens by the inverse of what lies behind
};
constexpr int kBlendModeCount = 11;
