// The run page's preview: the miner start line of the single-window launch.
#include "app/unit1.h"

namespace morvane {

launch::StartLineParts TForm1::startLineParts(bool usePool) const {
    return {.windowTitle = edRigNameRun->text(),
            .miner = edMinerRun->text(),
            .params = edMinerParamsRun->text(),
            .paramsAfterMiner = rbParamsAfterMinerRun->checked(),
            .usePool = usePool,
            .poolUrl = edPoolURLRun->text(),
            .poolPort = edPoolPortRun->text(),
            .wallet = edPoolWalletRun->text(),
            .rigNameFormat = edPoolRigNameRun->text()};
}

void TForm1::ShowScript(Sender) {
    if (cbBitstreams->itemIndex() < 0) return;  // keeps the line of a configuration shown before
    // A chosen pool configuration gives the pool form, whichever tab is showing.
    const bool usePool = cbChoosePoolConfig->itemIndex() >= 0;
    Memo3->clear();
    Memo3->addLine(launch::directStartLine(startLineParts(usePool)));
}

}  // namespace morvane
