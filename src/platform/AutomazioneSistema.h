#pragma once
// The office automation of this computer. On Windows the programs registered for
// an identifier (Microsoft Excel, Microsoft Word) are driven through COM, exactly
// with the calls they are sent, and an identifier that no program registers goes
// to the given engine, which writes the document itself; elsewhere the engine
// serves every identifier.
#include "platform/Automazione.h"

#include <memory>

std::unique_ptr<IAutomazione> AutomazioneDelSistema(IAutomazione& motore);
