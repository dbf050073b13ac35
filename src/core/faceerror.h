#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// A face picture the program needed and could not use. The handler that runs into it stops
// there; the window or the renderer tells the user in words (Messages::faceFailure) and the
// program carries on.
class FaceError : public std::runtime_error
{
public:
    enum class Problem
    {
        Unknown,    // the name is not one of the program's pictures
        Unreadable, // one of its pictures, missing from the program or damaged
    };

    FaceError(Problem problem, std::string_view picture)
        : std::runtime_error("face picture " + std::string(picture)), m_problem(problem),
          m_picture(picture)
    {
    }

    Problem problem() const noexcept { return m_problem; }

    // The picture's box name, as the program knows it ("picOogCool").
    const std::string& picture() const noexcept { return m_picture; }

private:
    Problem m_problem;
    std::string m_picture;
};
