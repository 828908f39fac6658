#include <cstring>

#include "compiler/commands.h"
#include "compiler/tokens.h"

namespace {

const CommandRow kTable[] = {
    {u"未定義", 0x0, nullptr},
    {u"出力パス", 0x2, CmdOutputPath},
    {u"拡大補正", 0x3, CmdModelScale},
    {u"include", 0x4, CmdInclude},
    {u"loadwave", 0x5, CmdLoadWave},
    {u"TEC", 0x6, CmdTec},
    {u"コンテナ部品", 0x9, CmdContainerPart},
    {u"SmoothDeg", 0x11, CmdSmoothDeg},
    {u"UpperV", 0x10, CmdUpperV},
    {u"ChangeLR", 0x13, CmdChangeLR},
    {u"ObjReadSmooth", 0x14, CmdObjReadSmooth},
    {u"ObjFlatReverse", 0x15, CmdObjFlatReverse},
    {u"BeginHeader", 0xF000, CmdMarker},
    {u"EndHeader", 0xF001, CmdMarker},
    {u"BeginSetting", 0xF002, CmdMarker},
    {u"EndSetting", 0xF003, CmdEndSetting},
    {u"BeginSound", 0xF004, CmdMarker},
    {u"EndSound", 0xF005, CmdMarker},
    {u"BeginModel", 0xF006, CmdMarker},
    {u"EndModel", 0xF007, CmdMarker},
    {u"BeginRes", 0xF00A, CmdMarker},
    {u"EndRes", 0xF00B, CmdMarker},
    {u"SECTION", 0x1001, CmdSection},
    {u"ID", 0x1002, CmdId},
    {u"TYPE", 0x1003, CmdType},
    {u"名称", 0x1004, CmdName},
    {u"短縮名", 0x1005, CmdShortName},
    {u"COPYRIGHT", 0x1006, CmdCopyright},
    {u"形式", 0x1007, CmdTypeNumber},
    {u"台車", 0x1013, CmdBogie},
    {u"連結器", 0x1015, CmdCoupler},
    {u"速度", 0x1016, CmdSpeed},
    {u"振り子", 0x1022, CmdTilt},
    {u"運転台", 0x1017, CmdCab},
    {u"動輪", 0x1018, CmdDrivingWheel},
    {u"エミッター", 0x1019, CmdEmitter},
    {u"ヘッドライト", 0x1020, CmdLight},
    {u"テールライト", 0x1021, CmdLight},
    {u"コンテナ位置", 0x101B, CmdContainerPosition},
    {u"車体反射", 0x1023, CmdBodyReflection},
    {u"車両拡張", 0x1025, CmdVehicleExtension},
    {u"ギャップ間隔", 0x12F0, CmdGapInterval},
    {u"音源ブレーキ", 0x1201, CmdSound},
    {u"音源警笛", 0x1202, CmdSound},
    {u"音源モーター基準", 0x1203, CmdSound},
    {u"音源モーター高速", 0x1204, CmdSound},
    {u"音源ギャップ1", 0x1205, CmdSound},
    {u"音源ギャップ2", 0x1206, CmdSound},
    {u"音源アイドル", 0x1207, CmdSound},
    {u"音源VVVF", 0x1208, CmdSound},
    {u"音源ドラフト1", 0x1209, CmdSound},
    {u"音源ドラフト2", 0x120A, CmdSound},
    {u"音源ドラフト3", 0x120B, CmdSound},
    {u"音源コンプレッサー", 0x1210, CmdSound},
    {u"音源電源車", 0x1211, CmdSound},
    {u"3D本体", 0x1300, CmdBodyModel},
    {u"3D屋根", 0x1302, CmdModel},
    {u"3D窓", 0x1303, CmdModel},
    {u"3D熱線窓", 0x1307, CmdModel},
    {u"3D車内", 0x1304, CmdModel},
    {u"3D字幕点灯", 0x1305, CmdModel},
    {u"3D字幕サボ", 0x1306, CmdModel},
    {u"3D字幕サボ2", 0x1309, CmdModel},
    {u"3D字幕LED", 0x130D, CmdModel},
    {u"3Dヘッドマーク", 0x1308, CmdHeadMarkModel},
    {u"3DOPTION", 0x130A, CmdOptionModel},
    {u"3DOPTION2", 0x130A, CmdOptionKindModel},
    {u"OPTIONINIT", 0x130B, CmdOptionInit},
    {u"3D台車枠", 0x1310, CmdBogieFrameModel},
    {u"3D車輪", 0x1311, CmdWheelModel},
    {u"台車構造枠", 0x1312, CmdBogieStructureFrame},
    {u"台車構造車輪", 0x1313, CmdBogieStructureWheel},
    {u"3D動輪", 0x1320, CmdDrivingWheelModel},
    {u"3Dパンタ", 0x1330, CmdPantographModel},
    {u"PANTAINIT", 0x1331, CmdPantographInit},
    {u"3Dヘッドライト", 0x1340, CmdLightModel},
    {u"3Dテールライト", 0x1341, CmdLightModel},
    {u"3D入換ライト", 0x1342, CmdModel},
    {u"3Dコンテナ", 0x1350, CmdContainerModel},
    {u"MAINRENDERPARAM", 0x1360, CmdMainRenderParam},
    {u"テクスチャーINFO", 0x1400, CmdTextureInfo},
    {u"テクスチャーSIGN", 0x1420, CmdTextureSign},
    {u"PNGTEXMAIN", 0x1421, CmdPngTexMain},
    {u"PNGTEXSIGN", 0x1421, CmdPngTexSign},
    {u"形式CG", 0x1500, CmdSideView},
    {u"ContainerInfoBegin", 0x801000, CmdMarker},
    {u"ContainerInfoEnd", 0x8010FF, CmdMarker},
    {u"ContainerName", 0x801001, CmdContainerText},
    {u"ContainerType", 0x801002, CmdContainerNumber},
    {u"ContainerLength", 0x801003, CmdContainerLength},
    {u"ContainerSavetime", 0x801004, CmdContainerSavetime},
    {u"ContainerGuide", 0x801005, CmdContainerText},
    {u"ContainerMaker", 0x801006, CmdContainerText},
    {u"ContainerSize", 0x801007, CmdContainerNumber},
    {u"ContainerSideview", 0x801020, CmdContainerSideview},
    {u"ContainerModelBegin", 0x801100, CmdContainerModelBegin},
    {u"ContainerModelEnd", 0x8011FF, CmdContainerModelEnd},
    {u"ContainerOBJMain", 0x801102, CmdContainerObjMain},
    {u"ContainerOBJAdd", 0x801103, CmdNothing},
};

static_assert(sizeof(kTable) / sizeof(kTable[0]) == 99, "the language has 99 commands");

}  // namespace

const CommandRow* CommandTable(size_t* count) {
  *count = sizeof(kTable) / sizeof(kTable[0]);
  return kTable;
}

void ExecuteLine(VehicleCompiler& c) {
  const std::u16string word = TokenText(c, 0);
  for (const CommandRow& row : kTable) {
    if (word != row.keyword) continue;
    if (row.handler) {
      row.handler(c, row.code);
      c.converted_meshes.clear();  // what a failed command left unembedded
    } else {
      LogError(c, u"エラー：未実装命令を使用した。[%s]\r\n", word);
    }
    return;
  }
  LogError(c, u"エラー：未定義命令\r\n");
}
