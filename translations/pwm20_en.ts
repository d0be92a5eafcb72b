<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>BatchArea</name>
    <message>
        <source>文本文件 (*.txt);;所有文件 (*)</source>
        <translation>Text files (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>插入当前姿态</source>
        <translation>Insert current pose</translation>
    </message>
    <message>
        <source>打开…</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>停止发送</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>通道设置…</source>
        <translation>Channel setup…</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>插入移动</source>
        <translation>Insert move</translation>
    </message>
    <message>
        <source>没有插入移动：所有通道都是关（0）的，而移动从通道现在的位置出发。请先用滑块或数值框把要移动的通道设到一个位置。</source>
        <translation>No move inserted: every channel is off (0), and a move starts from where a channel is. First set the channels to move with their sliders or value boxes.</translation>
    </message>
    <message>
        <source>批量命令框中的修改尚未保存。要保存吗？</source>
        <translation>The batch has changes that are not saved. Save them?</translation>
    </message>
    <message>
        <source>查看计划…</source>
        <translation>Show plan…</translation>
    </message>
    <message>
        <source>动作编辑…</source>
        <translation>Motion editor…</translation>
    </message>
</context>
<context>
    <name>BatchFile</name>
    <message>
        <source>无法保存“%1”：%2</source>
        <translation>Cannot save “%1”: %2</translation>
    </message>
    <message>
        <source>标准输入</source>
        <translation>standard input</translation>
    </message>
    <message>
        <source>无法打开%1：%2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>无法打开%1：文件超过 1 MiB。</source>
        <translation>Cannot open %1: the file is larger than 1 MiB.</translation>
    </message>
    <message>
        <source>无法打开%1：文件不是 UTF-8 文本。</source>
        <translation>Cannot open %1: the file is not UTF-8 text.</translation>
    </message>
</context>
<context>
    <name>BatchMessages</name>
    <message>
        <source>无法识别的命令“%1”。</source>
        <translation>Unknown command “%1”.</translation>
    </message>
    <message>
        <source>帧应写作“S 通道 数值 E”。</source>
        <translation>A frame is written “S channel value E”.</translation>
    </message>
    <message>
        <source>“%1”应写作“通道=数值”。</source>
        <translation>“%1” should be written “channel=value”.</translation>
    </message>
    <message>
        <source>“%1”不是十进制整数。</source>
        <translation>“%1” is not a decimal integer.</translation>
    </message>
    <message>
        <source>通道应在 1 到 20 之间。</source>
        <translation>The channel must be from 1 to 20.</translation>
    </message>
    <message>
        <source>数值应在 0 到 255 之间。</source>
        <translation>The value must be from 0 to 255.</translation>
    </message>
    <message>
        <source>等待时间应在 0 到 3600000 毫秒之间。</source>
        <translation>The wait must be from 0 to 3600000 milliseconds.</translation>
    </message>
    <message>
        <source>重复次数应在 1 到 1000000 之间。</source>
        <translation>The count must be from 1 to 1000000.</translation>
    </message>
    <message>
        <source>“wait”后面缺少毫秒数。</source>
        <translation>“wait” needs a number of milliseconds.</translation>
    </message>
    <message>
        <source>多余的“%1”。</source>
        <translation>Unexpected “%1”.</translation>
    </message>
    <message>
        <source>“end”前面没有对应的“repeat”。</source>
        <translation>“end” without a “repeat” before it.</translation>
    </message>
    <message>
        <source>“repeat”后面没有对应的“end”。</source>
        <translation>“repeat” without an “end” after it.</translation>
    </message>
    <message>
        <source>第 %1 行“%2”：%3</source>
        <translation>Line %1 “%2”: %3</translation>
    </message>
    <message>
        <source>“%1”中的通道应在 1 到 20 之间。</source>
        <translation>In “%1” the channel must be from 1 to 20.</translation>
    </message>
    <message>
        <source>“%1”中的数值应在 0 到 255 之间。</source>
        <translation>In “%1” the value must be from 0 to 255.</translation>
    </message>
    <message>
        <source>循环体为空：“repeat”和“end”之间既不发送也不等待。</source>
        <translation>The loop is empty: nothing between “repeat” and “end” sends or waits.</translation>
    </message>
    <message>
        <source>“%1”既不是通道号，也不是通道的名称。</source>
        <translation>“%1” is neither a channel number nor a channel&apos;s name.</translation>
    </message>
    <message>
        <source>“move”后面缺少“通道=数值”，应写作“move 通道=数值 ... in 毫秒 [smooth]”。</source>
        <translation>“move” needs “channel=value” pairs: “move channel=value … in milliseconds [smooth]”.</translation>
    </message>
    <message>
        <source>缺少“in 毫秒”，应写作“move 通道=数值 ... in 毫秒 [smooth]”。</source>
        <translation>“in milliseconds” is missing: “move channel=value … in milliseconds [smooth]”.</translation>
    </message>
    <message>
        <source>移动时间应在 0 到 3600000 毫秒之间。</source>
        <translation>The move&apos;s time must be from 0 to 3600000 milliseconds.</translation>
    </message>
    <message>
        <source>同一个“move”中两次出现%1。</source>
        <translation>%1 appears twice in one “move”.</translation>
    </message>
    <message>
        <source>“move”需要 %1 毫秒，而不是 %2 毫秒（%3：加速度 %4）</source>
        <translation>move takes %1 ms, not %2 ms (%3: accel %4)</translation>
    </message>
    <message>
        <source>“move”需要 %1 毫秒，而不是 %2 毫秒（%3：速度 %4）</source>
        <translation>move takes %1 ms, not %2 ms (%3: speed %4)</translation>
    </message>
    <message>
        <source>第 %1 行：%2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>通道 %1</source>
        <translation>channel %1</translation>
    </message>
</context>
<context>
    <name>BatchRunner</name>
    <message>
        <source>按批量命令文件向控制板发送帧。</source>
        <translation>Sends the frames of a batch file to the board.</translation>
    </message>
    <message>
        <source>串口设备的路径。</source>
        <translation>The path of the serial device.</translation>
    </message>
    <message>
        <source>串口号，与窗口中的 comN 相同。</source>
        <translation>The port number, as comN in the window.</translation>
    </message>
    <message>
        <source>批量命令文件；- 表示标准输入。</source>
        <translation>The batch file; - for standard input.</translation>
    </message>
    <message>
        <source>显示本帮助并退出。</source>
        <translation>Shows this help and exits.</translation>
    </message>
    <message>
        <source>缺少批量命令文件。</source>
        <translation>No batch file given.</translation>
    </message>
    <message>
        <source>--port 和 --com 只能给一个。</source>
        <translation>Give --port or --com, not both.</translation>
    </message>
    <message>
        <source>只能给一个批量命令文件，“%1”是多余的。</source>
        <translation>One batch file only: “%1” is one too many.</translation>
    </message>
    <message>
        <source>--com 后面应为 1 或更大的整数，而不是“%1”。</source>
        <translation>--com takes a number from 1 up, not “%1”.</translation>
    </message>
    <message>
        <source>通道设置文件（名称、范围、归位）。</source>
        <translation>The channel setup file (names, limits, homes).</translation>
    </message>
    <message>
        <source>通道的名称来自通道设置文件：请用 --setup 给出一个。</source>
        <translation>Channel names come from a setup file: give one with --setup.</translation>
    </message>
    <message>
        <source>正在发送停止姿态…（再次按 Ctrl+C 立即结束）</source>
        <translation>Sending the stop pose… (press Ctrl+C again to end at once)</translation>
    </message>
</context>
<context>
    <name>ChannelSetupDialog</name>
    <message>
        <source>通道</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>最小</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>归位</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>通道设置 — %1</source>
        <translation>Channel setup — %1</translation>
    </message>
    <message>
        <source>默认设置</source>
        <translation>defaults</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>全关</source>
        <translation>All off</translation>
    </message>
    <message>
        <source>停止批量发送时：</source>
        <translation>When a batch is stopped:</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1，%2：%3</source>
        <translation>%1, %2: %3</translation>
    </message>
    <message>
        <source>无法保存通道设置。
%1</source>
        <translation>Could not save the channel setup.
%1</translation>
    </message>
    <message>
        <source>保存通道设置</source>
        <translation>Save channel setup</translation>
    </message>
    <message>
        <source>通道设置 (*.ini)</source>
        <translation>Channel setup (*.ini)</translation>
    </message>
    <message>
        <source>全部恢复默认</source>
        <translation>Restore all defaults</translation>
    </message>
    <message>
        <source>这个文件无法使用，现用的是默认设置：%1
改正后保存，将用上表的内容改写这个文件。</source>
        <translation>This file cannot be used; the defaults are in use: %1
Put it right and save, and the table above is written over this file.</translation>
    </message>
    <message>
        <source>通道设置有改动，但其中有错误，无法保存。放弃这些改动吗？</source>
        <translation>The channel setup has changes, but it has a fault and cannot be saved. Discard the changes?</translation>
    </message>
    <message>
        <source>通道设置有改动，尚未保存。保存吗？</source>
        <translation>The channel setup has unsaved changes. Save them?</translation>
    </message>
    <message>
        <source>放弃改动</source>
        <translation>Discard changes</translation>
    </message>
    <message>
        <source>最小（%1）大于最大（%2）。</source>
        <translation>Min (%1) is greater than max (%2).</translation>
    </message>
    <message>
        <source>归位（%1）应在最小（%2）和最大（%3）之间。</source>
        <translation>Home (%1) must be between min (%2) and max (%3).</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>加速度</source>
        <translation>Accel</translation>
    </message>
</context>
<context>
    <name>ChannelTexts</name>
    <message>
        <source>通道 %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>通道 %1（%2）</source>
        <translation>Channel %1 (%2)</translation>
    </message>
    <message>
        <source>%1只接受 0 或 %2..%3。</source>
        <translation>%1 takes only 0 or %2..%3.</translation>
    </message>
    <message>
        <source>%1
可用数值：0（关）或 %2..%3
归位：%4</source>
        <translation>%1
Values: 0 (off) or %2..%3
Home: %4</translation>
    </message>
    <message>
        <source>%1 只接受 0 或 %2..%3。</source>
        <translation>%1 takes only 0 or %2..%3.</translation>
    </message>
    <message>
        <source>速度上限：%1/秒</source>
        <translation>Speed limit: %1/s</translation>
    </message>
    <message>
        <source>加速度上限：%1/秒²</source>
        <translation>Accel limit: %1/s²</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>驱动 20 路 PWM 舵机控制板的上位机程序。不带参数时打开窗口。</source>
        <translation>Host program for a 20-channel PWM servo controller board. With no arguments it opens its window.</translation>
    </message>
    <message>
        <source>显示本帮助并退出。</source>
        <translation>Shows this help and exits.</translation>
    </message>
    <message>
        <source>显示版本并退出。</source>
        <translation>Shows the version and exits.</translation>
    </message>
    <message>
        <source>com1 代表的串口设备。</source>
        <translation>The serial device com1 stands for.</translation>
    </message>
    <message>
        <source>com2 代表的串口设备。</source>
        <translation>The serial device com2 stands for.</translation>
    </message>
    <message>
        <source>界面语言：zh 或 en。</source>
        <translation>The language of the window and messages: zh or en.</translation>
    </message>
    <message>
        <source>未知的参数“%1”。</source>
        <translation>Unknown argument “%1”.</translation>
    </message>
    <message>
        <source>--lang 只接受 zh 或 en。</source>
        <translation>--lang takes zh or en.</translation>
    </message>
    <message>
        <source>显示 com1 和 com2 代表的设备以及系统中的串口，然后退出。</source>
        <translation>Shows which device com1 and com2 stand for, and the serial ports present, then exits.</translation>
    </message>
    <message>
        <source>检查通道设置文件并显示其内容，然后退出。</source>
        <translation>Checks the channel setup file, shows what it holds, then exits.</translation>
    </message>
    <message>
        <source>无法写入标准输出：%1</source>
        <translation>Cannot write to standard output: %1</translation>
    </message>
    <message>
        <source>run FILE [--port DEVICE | --com N] [--setup SETUP]
不打开窗口，按批量命令文件发送帧；run --help 显示详情。</source>
        <translation>run FILE [--port DEVICE | --com N] [--setup SETUP]
Plays a batch file on the board with no window; run --help tells more.</translation>
    </message>
    <message>
        <source>通道设置文件（名称、范围、归位）；窗口不给时使用上次用过的，run 和 plan 不给时不用。</source>
        <translation>The channel setup file (names, limits, homes); without it the window uses the one used last, and run and plan none.</translation>
    </message>
    <message>
        <source>plan FILE [--setup SETUP] [--csv] [--for SECONDS]
不打开串口，列出 run 会发送的每一帧及其时间；plan --help 显示详情。</source>
        <translation>plan FILE [--setup SETUP] [--csv] [--for SECONDS]
Lists every frame run would send and when, without opening a port; plan --help tells more.</translation>
    </message>
    <message>
        <source>在批量命令框中打开批量命令文件，并在窗口旁打开动作编辑器。</source>
        <translation>Open a batch file in the batch box and the motion editor beside the window.</translation>
    </message>
</context>
<context>
    <name>FileProblem</name>
    <message>
        <source>读取失败。</source>
        <translation>It could not be read.</translation>
    </message>
    <message>
        <source>写入失败。</source>
        <translation>It could not be written.</translation>
    </message>
    <message>
        <source>这是一个文件夹，不是文件。</source>
        <translation>It is a folder, not a file.</translation>
    </message>
    <message>
        <source>没有这个文件。</source>
        <translation>There is no such file.</translation>
    </message>
    <message>
        <source>没有读取它的权限。</source>
        <translation>You have no permission to read it.</translation>
    </message>
    <message>
        <source>它所在的文件夹不存在。</source>
        <translation>Its folder does not exist.</translation>
    </message>
    <message>
        <source>没有写入的权限。</source>
        <translation>You have no permission to write there.</translation>
    </message>
    <message>
        <source>写入失败，磁盘可能已满。</source>
        <translation>It could not be written; the disk may be full.</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>无法使用通道设置，将使用默认设置。
%1</source>
        <translation>The channel setup cannot be used; the defaults are used.
%1</translation>
    </message>
    <message>
        <source>新的通道设置已生效，正在进行的批量发送因此停止：它是按原来的设置检查的。停止时没有再发送任何帧；请重新开始批量发送。</source>
        <translation>The new channel setup is in use, so the batch that was playing has stopped: it was checked against the previous setup. Nothing more was sent; start the batch again.</translation>
    </message>
    <message>
        <source>上次使用的通道设置已不能使用，pwm20 不再记住它，现用默认设置。
%1
要换用别的设置文件，请用 pwm20 --setup 文件 启动；或右键单击通道标题打开“通道设置”，改好后保存或另存为。</source>
        <translation>The channel setup used last time can no longer be used; pwm20 has forgotten it and uses the defaults.
%1
To use another setup file, start pwm20 with --setup FILE, or right-click a channel caption to open “Channel setup…”, put it right, and save it.</translation>
    </message>
</context>
<context>
    <name>MotionEditor</name>
    <message>
        <source>步骤</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>插入行</source>
        <translation>Insert row</translation>
    </message>
    <message>
        <source>删除行</source>
        <translation>Delete row</translation>
    </message>
    <message>
        <source>复制行</source>
        <translation>Duplicate row</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>记录姿态</source>
        <translation>Record pose</translation>
    </message>
    <message>
        <source>更新姿态</source>
        <translation>Update pose</translation>
    </message>
    <message>
        <source>清空单元格</source>
        <translation>Clear cell</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>从此步播放</source>
        <translation>Play from here</translation>
    </message>
    <message>
        <source>循环</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>导出 CSV…</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>动作编辑器</source>
        <translation>Motion editor</translation>
    </message>
    <message>
        <source>动作编辑器 — %1</source>
        <translation>Motion editor — %1</translation>
    </message>
    <message>
        <source>只显示前 60 秒。</source>
        <translation>Only the first 60 seconds are shown.</translation>
    </message>
    <message>
        <source>只显示前 10 分钟。</source>
        <translation>Only the first 10 minutes are shown.</translation>
    </message>
    <message>
        <source>没有可记录的通道：所有通道都是关（0）的，或与此处的姿态相同。</source>
        <translation>No channel to record: every channel is off (0) or already holds the pose here.</translation>
    </message>
    <message>
        <source>请先选中一个关键帧（姿态或移动）的行。</source>
        <translation>Select a keyframe row (a pose or a move) first.</translation>
    </message>
    <message>
        <source>从这一行起没有要播放的步骤。</source>
        <translation>There are no steps to play from this row on.</translation>
    </message>
    <message>
        <source>已发送 %1 帧，与计划一致。</source>
        <translation>Frames sent: %1, as planned.</translation>
    </message>
    <message>
        <source>已发送 %1 帧；与计划最大相差 %2（%3，%4 s）</source>
        <translation>Frames sent: %1; largest difference from the plan: %2 (%3, %4 s)</translation>
    </message>
    <message>
        <source>动作编辑器中的修改尚未保存。要保存吗？不保存时，修改仍留在批量命令框中。</source>
        <translation>The motion editor&apos;s edits are not saved. Save them? If not, they stay in the batch box.</translation>
    </message>
    <message>
        <source>文本有误：图中仍是上次无误时的计划。</source>
        <translation>The text has a fault: the plot still shows the plan of the last text without one.</translation>
    </message>
</context>
<context>
    <name>MotionPlot</name>
    <message>
        <source>时间 (s)</source>
        <translation>Time (s)</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>拉长</source>
        <translation>Stretched</translation>
    </message>
    <message>
        <source>计划</source>
        <translation>Planned</translation>
    </message>
    <message>
        <source>理想</source>
        <translation>Ideal</translation>
    </message>
    <message>
        <source>关键帧</source>
        <translation>Keyframe</translation>
    </message>
    <message>
        <source>已发送</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>%1 s · %2 · %3 · %4</source>
        <translation>%1 s · %2 · %3 · %4</translation>
    </message>
    <message>
        <source>拉长：第 %1 行的动作比写的时间长，以守住通道的速度和加速度限制。</source>
        <translation>Stretched: the move on line %1 takes longer than written, to keep the channels&apos; speed and acceleration limits.</translation>
    </message>
</context>
<context>
    <name>PlanCommand</name>
    <message>
        <source>以 CSV 列出：time_ms,channel,value,line（line 为 0：不来自某一行）。</source>
        <translation>List as CSV: time_ms,channel,value,line (line 0: from no line).</translation>
    </message>
    <message>
        <source>只列出前 SECONDS 秒；不会自行结束的批量命令默认列出 60 秒。</source>
        <translation>List only the first SECONDS seconds; a batch that never ends lists 60 by default.</translation>
    </message>
    <message>
        <source>列出 run 会发送的每一帧及其到达控制板的时间（毫秒，从开始算起），不打开串口。</source>
        <translation>Lists every frame run would send and when it reaches the board (milliseconds from the start), without opening a port.</translation>
    </message>
    <message>
        <source>--for 后面应为大于 0、不超过 %1 的秒数，而不是“%2”。</source>
        <translation>--for takes a number of seconds above 0, up to %1, not “%2”.</translation>
    </message>
    <message>
        <source>批量命令不会自行结束：只列出前 %1 秒。</source>
        <translation>The batch does not end by itself: only its first %1 s are listed.</translation>
    </message>
    <message>
        <source>批量命令在 %1 秒时还没有结束：只列出到此为止的帧。</source>
        <translation>The batch is still playing at %1 s: only the frames up to then are listed.</translation>
    </message>
</context>
<context>
    <name>PlanModel</name>
    <message>
        <source>时间（毫秒）</source>
        <translation>Time (ms)</translation>
    </message>
    <message>
        <source>通道</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>行</source>
        <translation>Line</translation>
    </message>
</context>
<context>
    <name>PlanText</name>
    <message>
        <source>时间 毫秒</source>
        <translation>time (ms)</translation>
    </message>
    <message>
        <source>通道</source>
        <translation>channel</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>value</translation>
    </message>
    <message>
        <source>行</source>
        <translation>line</translation>
    </message>
</context>
<context>
    <name>PlanWindow</name>
    <message>
        <source>批量计划</source>
        <translation>Batch plan</translation>
    </message>
    <message>
        <source>导出 CSV…</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>批量命令不会自行结束：只列出前 60 秒。</source>
        <translation>The batch does not end by itself: only its first 60 seconds are listed.</translation>
    </message>
    <message>
        <source>批量命令 10 分钟内不会结束：只列出前 10 分钟。</source>
        <translation>The batch runs longer than 10 minutes: only its first 10 minutes are listed.</translation>
    </message>
    <message>
        <source>导出 CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv);;所有文件 (*)</source>
        <translation>CSV files (*.csv);;All files (*)</translation>
    </message>
</context>
<context>
    <name>PlayingLine</name>
    <message>
        <source>第 %1 行：%2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>第 %1 行（第 %2 遍）：%3</source>
        <translation>Line %1 (pass %2): %3</translation>
    </message>
    <message>
        <source>第 %1 行（第 %2/%3 遍）：%4</source>
        <translation>Line %1 (pass %2 of %3): %4</translation>
    </message>
</context>
<context>
    <name>PortChooser</name>
    <message>
        <source>com%1：已打开 %2</source>
        <translation>com%1: %2 is open</translation>
    </message>
    <message>
        <source>右键单击可选择设备。</source>
        <translation>Right-click to choose the device.</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>没有找到串口</source>
        <translation>No serial port found</translation>
    </message>
</context>
<context>
    <name>PortDescription</name>
    <message>
        <source>命令行 --com%1 指定</source>
        <translation>named by --com%1</translation>
    </message>
    <message>
        <source>环境变量 PWM20_COM%1 指定</source>
        <translation>named by PWM20_COM%1</translation>
    </message>
    <message>
        <source>上次选择的设备</source>
        <translation>chosen earlier</translation>
    </message>
    <message>
        <source>自动：系统中的第 %1 个串口</source>
        <translation>automatic: serial port number %1 of the system</translation>
    </message>
    <message>
        <source>序列号 %1</source>
        <translation>serial number %1</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>com%1：没有可用的串口。</source>
        <translation>com%1: no serial port.</translation>
    </message>
    <message>
        <source>com%1：%2（%3）</source>
        <translation>com%1: %2 (%3)</translation>
    </message>
    <message>
        <source>由命令行 --com%1 指定：%2</source>
        <translation>Named by --com%1: %2</translation>
    </message>
    <message>
        <source>由环境变量 PWM20_COM%1 指定：%2</source>
        <translation>Named by PWM20_COM%1: %2</translation>
    </message>
    <message>
        <source>已记住这一选择。现在 com%1 由命令行 --com%1 指定为 %2，不带该选项启动时这一选择才生效。</source>
        <translation>Your choice is kept. For now --com%1 names %2 for com%1; the choice takes effect once pwm20 is started without that option.</translation>
    </message>
    <message>
        <source>已记住这一选择。现在 com%1 由环境变量 PWM20_COM%1 指定为 %2，去掉该环境变量后这一选择才生效。</source>
        <translation>Your choice is kept. For now PWM20_COM%1 names %2 for com%1; the choice takes effect once that environment variable is gone.</translation>
    </message>
</context>
<context>
    <name>PortListing</name>
    <message>
        <source>系统中没有串口。</source>
        <translation>The system lists no serial port.</translation>
    </message>
    <message>
        <source>系统中的串口：</source>
        <translation>Serial ports the system lists:</translation>
    </message>
    <message>
        <source>注意：com1 和 com2 是同一个设备（%1）。</source>
        <translation>Note: com1 and com2 are the same device (%1).</translation>
    </message>
</context>
<context>
    <name>PortMessages</name>
    <message>
        <source>串口（设备 %1）</source>
        <translation>serial port %1</translation>
    </message>
    <message>
        <source>串口 com%1</source>
        <translation>serial port com%1</translation>
    </message>
    <message>
        <source>串口 com%1（设备 %2）</source>
        <translation>serial port com%1 (device %2)</translation>
    </message>
    <message>
        <source>请插上串口适配器，并在设备管理器中确认它的端口号。</source>
        <translation>Plug in the serial adapter and check its port number in Device Manager.</translation>
    </message>
    <message>
        <source>请插上串口适配器，并检查设备的路径。</source>
        <translation>Plug in the serial adapter and check the device path.</translation>
    </message>
    <message>
        <source>请插上串口适配器，或用环境变量 PWM20_COM%1 指定设备。</source>
        <translation>Plug in the serial adapter, or name the device with --com%1 or PWM20_COM%1.</translation>
    </message>
    <message>
        <source>串口未打开，请检查串口</source>
        <translation>The serial port is not open. Please check the serial port.</translation>
    </message>
    <message>
        <source>无法打开%1：系统中没有第 %2 个串口。
%3</source>
        <translation>Cannot open %1: the system has no serial port number %2.
%3</translation>
    </message>
    <message>
        <source>无法打开%1：找不到该设备。
%2</source>
        <translation>Cannot open %1: the device was not found.
%2</translation>
    </message>
    <message>
        <source>无法打开%1：该串口正被其他程序使用。
请先关闭占用该串口的程序，再打开串口。</source>
        <translation>Cannot open %1: another program is using it.
Close that program, then open the port again.</translation>
    </message>
    <message>
        <source>无法打开%1：没有使用该串口的权限。</source>
        <translation>Cannot open %1: you have no permission to use it.</translation>
    </message>
    <message>
        <source>无法打开%1：没有使用该串口的权限。
在 Linux 上请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。</source>
        <translation>Cannot open %1: you have no permission to use it.
On Linux, add yourself to the dialout group (sudo usermod -aG dialout $USER), then log in again.</translation>
    </message>
    <message>
        <source>无法打开%1：%2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>%1已断开连接，串口已关闭。
请检查连接，然后重新打开串口。</source>
        <translation>Lost %1: it was disconnected, and the port has been closed.
Check the connection, then open the port again.</translation>
    </message>
    <message>
        <source>请插上该设备，或右键单击“com%1”选择其他设备。</source>
        <translation>Plug the device in, or right-click “com%1” to choose another.</translation>
    </message>
    <message>
        <source>pwm20 --ports 显示 com1、com2 代表的设备和系统中的串口。</source>
        <translation>pwm20 --ports shows which devices com1 and com2 stand for, and the system&apos;s serial ports.</translation>
    </message>
    <message>
        <source>请插上串口适配器，或指定设备：run 后面加 --port DEVICE，run 前面加 --com%1 DEVICE，或设置环境变量 PWM20_COM%1；也可以用 --com N 换一个串口。</source>
        <translation>Plug in the serial adapter, or name the device: --port DEVICE after run, --com%1 DEVICE before run, or the environment variable PWM20_COM%1; or take another port with --com N.</translation>
    </message>
    <message>
        <source>请插上串口适配器，或指定设备：run 后面加 --port DEVICE，或设置环境变量 PWM20_COM%1；也可以用 --com N 换一个串口。</source>
        <translation>Plug in the serial adapter, or name the device: --port DEVICE after run, or the environment variable PWM20_COM%1; or take another port with --com N.</translation>
    </message>
    <message>
        <source>无法打开%1：该串口正被其他程序使用。
请先关闭占用该串口的程序，再重新运行。</source>
        <translation>Cannot open %1: another program is using it.
Close that program, then run again.</translation>
    </message>
    <message>
        <source>%1已断开连接，串口已关闭。
请检查连接，然后重新运行；设备重新插上后可能换了名字。
%2</source>
        <translation>Lost %1: it was disconnected, and the port has been closed.
Check the connection, then run again; plugged in again, the device may have a new name.
%2</translation>
    </message>
</context>
<context>
    <name>PortSwitch</name>
    <message>
        <source>关闭串口</source>
        <translation>Close port</translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation>Open port</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Usage: %1</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[options]</translation>
    </message>
</context>
<context>
    <name>SequenceModel</name>
    <message>
        <source>即时</source>
        <translation>Instant</translation>
    </message>
    <message>
        <source>线性</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>平滑</source>
        <translation>Smooth</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>时长</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>曲线</source>
        <translation>Curve</translation>
    </message>
    <message>
        <source>关键帧至少要设一个通道：最后一个通道不能清空。</source>
        <translation>A keyframe sets at least one channel: its last channel cannot be cleared.</translation>
    </message>
</context>
<context>
    <name>SetupCheck</name>
    <message>
        <source>没有通道设置文件，使用默认设置：</source>
        <translation>No channel setup file; the defaults:</translation>
    </message>
    <message>
        <source>通道设置 %1：</source>
        <translation>Channel setup %1:</translation>
    </message>
    <message>
        <source>窗口使用的通道设置 %1：</source>
        <translation>The window&apos;s channel setup %1:</translation>
    </message>
</context>
<context>
    <name>SetupFile</name>
    <message>
        <source>文件不是 UTF-8 文本。</source>
        <translation>The file is not UTF-8 text.</translation>
    </message>
    <message>
        <source>第 %1 行“%2”既不是“[节]”也不是“键=值”。</source>
        <translation>Line %1 “%2” is neither “[section]” nor “key=value”.</translation>
    </message>
    <message>
        <source>未知的节，应为 [channel1] 到 [channel20] 或 [batch]。</source>
        <translation>Unknown section; expected [channel1] to [channel20] or [batch].</translation>
    </message>
    <message>
        <source>这一节已经出现过。</source>
        <translation>This section appears twice.</translation>
    </message>
    <message>
        <source>未知的键。</source>
        <translation>Unknown key.</translation>
    </message>
    <message>
        <source>这个键已经出现过。</source>
        <translation>This key appears twice.</translation>
    </message>
    <message>
        <source>“%1”不是十进制整数。</source>
        <translation>“%1” is not a decimal integer.</translation>
    </message>
    <message>
        <source>应在 1 到 255 之间，而不是 %1。</source>
        <translation>Must be from 1 to 255, not %1.</translation>
    </message>
    <message>
        <source>max（%1）小于 min。</source>
        <translation>max (%1) is below min.</translation>
    </message>
    <message>
        <source>home（%1）应在 min 和 max 之间；不写 home 时为 19。</source>
        <translation>home (%1) must be between min and max; without a home it is 19.</translation>
    </message>
    <message>
        <source>名称“%1”只能由字母、数字和 _ 组成，且不能以数字开头。</source>
        <translation>The name “%1” may hold only letters, digits and _, and must not start with a digit.</translation>
    </message>
    <message>
        <source>名称“%1”超过 32 个字符。</source>
        <translation>The name “%1” is longer than 32 characters.</translation>
    </message>
    <message>
        <source>名称“%1”是批量命令的关键字。</source>
        <translation>The name “%1” is a word of the batch language.</translation>
    </message>
    <message>
        <source>名称“%1”已用于另一个通道（不区分大小写）。</source>
        <translation>The name “%1” is already another channel&apos;s (case does not count).</translation>
    </message>
    <message>
        <source>应为 none、home 或 off，而不是“%1”。</source>
        <translation>Must be none, home or off, not “%1”.</translation>
    </message>
    <message>
        <source>%1: 文件超过 64 KiB。</source>
        <translation>%1: the file is larger than 64 KiB.</translation>
    </message>
    <message>
        <source>应在 1 到 2550 之间，而不是 %1；不限速就不写。</source>
        <translation>Must be from 1 to 2550, not %1; for no limit, leave it out.</translation>
    </message>
    <message>
        <source>应在 1 到 100000 之间，而不是 %1；不限加速度就不写。</source>
        <translation>Must be from 1 to 100000, not %1; for no limit, leave it out.</translation>
    </message>
</context>
<context>
    <name>WindowLayout</name>
    <message>
        <source>20路PWM上机位程序----Varnok</source>
        <translation>20-channel PWM host----Varnok</translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation>Open port</translation>
    </message>
    <message>
        <source>命令状态：</source>
        <translation>Sent:</translation>
    </message>
    <message>
        <source>命令状态</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>返回数据：</source>
        <translation>Reply:</translation>
    </message>
    <message>
        <source>返回数据</source>
        <translation>Reply</translation>
    </message>
    <message>
        <source>全关</source>
        <translation>All off</translation>
    </message>
    <message>
        <source>舵机全归中</source>
        <translation>Centre all</translation>
    </message>
    <message>
        <source>批量发送</source>
        <comment>button</comment>
        <translation>Send batch</translation>
    </message>
    <message>
        <source>批量发送</source>
        <comment>heading</comment>
        <translation>Batch</translation>
    </message>
</context>
</TS>
