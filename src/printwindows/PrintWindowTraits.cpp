#include "printwindows/PrintWindowTraits.h"

namespace corvane {

namespace {

const PrintWindowTraits traits[] = {
    {PrintWindowKind::Dd, "TDdForm", "DdUnit", RecipientSource::MainRecipients, nullptr, "单张预览", 877, 600, 154},
    {PrintWindowKind::Edd, "TEddForm", "EddUnit", RecipientSource::MainImport, nullptr, "单张预览", 878, 600, 155},
    {PrintWindowKind::Pd, "TPdForm", "PdUnit", RecipientSource::OwnQuery, "select * from inr", "批量预览", 878, 618, 154},
    {PrintWindowKind::Ped, "TPedForm", "PedUnit", RecipientSource::OwnQuery, "select * from excel", "批量预览", 878, 618, 154},
};

}

const PrintWindowTraits& printWindowTraits(PrintWindowKind kind)
{
    for (const PrintWindowTraits& t : traits)
        if (t.kind == kind)
            return t;
    return traits[0];
}

}
