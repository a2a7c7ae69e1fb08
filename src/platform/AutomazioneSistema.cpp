#include "platform/AutomazioneSistema.h"

namespace {

class SoloMotore : public IAutomazione {
public:
    explicit SoloMotore(IAutomazione& motore) : m_motore(motore) {}
    std::shared_ptr<IOggettoAutomazione> Crea(const QString& idProgramma) override { return m_motore.Crea(idProgramma); }
    QStringList PrendiAvvisi() override { return m_motore.PrendiAvvisi(); }

private:
    IAutomazione& m_motore;
};

} // namespace

std::unique_ptr<IAutomazione> AutomazioneDelSistema(IAutomazione& motore) {
    return std::make_unique<SoloMotore>(motore);
}
