#pragma once
// The program's maker: the addresses behind the homepage and e-mail links and their hints.

namespace corvane {

inline constexpr char kMakerHomepage[] = "https://corvane.example.org/";
inline constexpr char kMakerEmail[] = "corvane@example.org";

}  // namespace corvane
