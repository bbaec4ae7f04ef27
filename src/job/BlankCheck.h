#pragma once

#include "base/TextMessage.h"
#include "ncgen/NCGenerateCommand.h"
#include "ncgen/OutputProfile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::simulation {
struct TMachineSetup;
}

namespace korvex::job {

// How the profile's machine holds the part: a lathe (its X negated, radius or diameter as the
// program's G7/G8 or DIAMON/DIAMOF say, the turning axis at X0) or a rotary axis turning the
// part about the job's axis that carries the rotary letter's machine axis (A: X, B: Y, C: Z).
// `firstPlunge` is the index of the program's first plunging line.
simulation::TMachineSetup MachineSetupOf(const ncgen::TActiveProfile& profile,
                                         const std::vector<std::string>& ncLines, bool rotary,
                                         std::size_t firstPlunge);

// The program against the job's blank: a refusal naming the NC line when a feed ends deeper
// than the infeed depth below the surface, a rapid move or the safe plane lies inside the
// blank, or the machine turns the part about another axis; empty when the program is clear.
base::TTextMessage CheckAgainstBlank(std::string_view blankDefinition,
                                     const ncgen::TGenerateFields& fields,
                                     const ncgen::TActiveProfile& profile,
                                     const ncgen::TGenerateCommandResult& generated);

} // namespace korvex::job
