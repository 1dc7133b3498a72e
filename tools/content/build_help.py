#!/usr/bin/python3
"""Builds the help page (Help/Help.htm, UTF-8) with its pictures, in Vietnamese
and English, for children and for their parents."""
import os
import sys

from PIL import Image, ImageDraw

import build_home
import build_icons
from style import BLUE, GREEN, INK, ORANGE, PINK, RED, WHITE, YELLOW

# Icons shown in the button legend: resource number, Vietnamese, English.
LEGEND = [
    (134, "Xem các tranh phía trên", "Show the pictures above"),
    (132, "Xem các tranh phía dưới", "Show the pictures below"),
    (139, "Xem nhiều tranh một lúc", "See many pictures at once"),
    (137, "Tô lại từ đầu", "Start the picture again"),
    (136, "Lưu bức tranh đã tô", "Save the coloured picture"),
    (150, "Chọn bài hát", "Choose a song"),
    (149, "Bật / tắt nhạc", "Music on / off"),
    (135, "Đóng màn hình", "Close the screen"),
    (144, "Đồng ý", "OK"),
]


def fish(d, k, fills):
    """A simple fish in outline, filled region by region with `fills`."""
    body, tail, eye_bg, fin = fills
    d.polygon([(150 * k, 60 * k), (190 * k, 30 * k), (190 * k, 90 * k)], fill=tail, outline=INK,
              width=3 * k)
    d.ellipse((30 * k, 25 * k, 165 * k, 95 * k), fill=body, outline=INK, width=3 * k)
    d.polygon([(85 * k, 30 * k), (110 * k, 8 * k), (125 * k, 32 * k)], fill=fin, outline=INK,
              width=3 * k)
    d.ellipse((55 * k, 45 * k, 75 * k, 65 * k), fill=eye_bg, outline=INK, width=3 * k)
    d.ellipse((62 * k, 52 * k, 70 * k, 60 * k), fill=INK)


def how_to_picture(path):
    """Three steps: an outline fish, a colour picked, the fish coloured."""
    w, h = 640, 150
    img = Image.new("RGB", (w, h), WHITE)
    for i, fills in enumerate(([WHITE] * 4, [WHITE, WHITE, WHITE, WHITE],
                               [ORANGE, RED, WHITE, YELLOW])):
        tile = Image.new("RGB", (200, 110), WHITE)
        fish(ImageDraw.Draw(tile), 1, fills)
        img.paste(tile, (10 + i * 215, 20))
    d = ImageDraw.Draw(img)
    # Step 2: a palette swatch and the pointer clicking inside the fish.
    for j, col in enumerate((RED, ORANGE, YELLOW, GREEN, BLUE, PINK)):
        d.rectangle((235 + j * 28, 122, 258 + j * 28, 145), fill=col, outline=INK,
                    width=3 if col == ORANGE else 1)
    d.polygon([(330, 80), (330, 104), (337, 98), (343, 110), (347, 108), (341, 96), (350, 96)],
              fill=WHITE, outline=INK)
    for x in (205, 420):
        d.polygon([(x, 65), (x + 16, 75), (x, 85)], fill=GREEN)
    img.save(path)


def icon_png(number, path):
    make = build_icons.ICONS[number][1]
    Image.fromarray(build_icons.icon_rgba(make)).save(path)


PAGE = """<!DOCTYPE html>
<html lang="vi">
<head>
<meta charset="utf-8">
<title>Tintorama – Hướng dẫn / Help</title>
<style>
body {{ font-family: "DejaVu Sans", sans-serif; background: #fff8e8; color: #2b2d42;
       max-width: 52em; margin: 1em auto; padding: 0 1em; line-height: 1.5; }}
h1 {{ color: #e84a5f; }} h2 {{ color: #3d8bd9; border-bottom: 3px solid #ffd23f; }}
h3 {{ color: #3bb273; }}
img {{ max-width: 100%; border-radius: 8px; }}
.big {{ font-size: 1.25em; }}
table {{ border-collapse: collapse; }} td {{ padding: 4px 10px; vertical-align: middle; }}
nav a {{ margin-right: 1em; }}
</style>
</head>
<body>
<h1>Tintorama</h1>
<nav><a href="#vi">Tiếng Việt</a> <a href="#en">English</a></nav>
<p><img src="images/home.png" alt="Màn hình chính / The home screen"></p>

<h2 id="vi">Tiếng Việt</h2>
<h3>Dành cho bé</h3>
<ol class="big">
<li>Ở màn hình chính, bấm vào <b>Tô tự do</b> để tô bất kỳ bức tranh nào,
    hoặc <b>Tô theo mẫu</b> để tô theo một bức tranh mẫu đã có màu.</li>
<li>Bấm vào một bức tranh nhỏ ở bên trái để chọn tranh.</li>
<li>Bấm vào một ô màu ở phía dưới để chọn màu.</li>
<li>Bấm vào chỗ muốn tô trong bức tranh: chỗ đó sẽ được tô màu!</li>
</ol>
<p><img src="images/howto.png" alt="Chọn màu rồi bấm vào tranh"></p>
<p><img src="images/free-coloring.png" alt="Tô tự do"></p>
<p><img src="images/sample-coloring.png" alt="Tô theo mẫu: tranh mẫu bên trái, tranh của bé bên phải"></p>
<table>
{legend_vi}
</table>
<h3>Dành cho cha mẹ</h3>
<ul>
<li>Bấm <b>chuột phải</b> vào một ô màu để tự pha màu mới cho ô đó.<br>
    <img src="images/color-mixer.png" alt="Pha màu"></li>
<li>Nút <b>Xem nhiều tranh</b> mở mười lăm tranh một lúc:<br>
    <img src="images/browse.png" alt="Xem nhiều tranh"></li>
<li>Bấm <b>Âm nhạc</b> ở màn hình chính để chọn một trong 80 bài hát; bài hát được phát lặp lại.
    Nút nốt nhạc trên màn hình tô màu bật hoặc tắt nhạc.</li>
<li>Nút <b>Lưu</b> ghi bức tranh đã tô thành tệp ảnh .bmp hoặc .png, mặc định vào thư mục
    <code>Tintorama</code> trong thư mục Ảnh (Pictures) của bạn. Chủ đề cuối cùng,
    <b>Tranh của em</b>, liệt kê các tranh đã lưu ở đó, mới nhất trước: mở lại để tô tiếp;
    nút <b>Tô lại từ đầu</b> trả về bức tranh gốc chưa tô.</li>
<li>Tranh riêng của bạn: đặt tệp PNG, BMP hoặc GIF vào thư mục
    <code>~/.local/share/tintorama/pictures/</code> (hoặc <code>$XDG_DATA_HOME/tintorama/pictures/</code>).
    Tranh hiện trong chủ đề <b>Tranh thêm</b>, được đổi thành nét đen trên nền trắng và thu vừa
    600 × 400 điểm ảnh. Tệp không phải ảnh hoặc quá lớn được bỏ qua.</li>
<li>Hộp chọn ở góc trên bên phải lọc tranh theo chủ đề.</li>
<li>Bạn có thể thêm tranh của mình: đặt tệp .bmp (nét đen trên nền trắng) vào thư mục của chương
    trình và thêm một dòng vào tệp <code>freely.txt</code> (số thứ tự, số chủ đề, đường dẫn tệp, cách
    nhau bằng dấu Tab). Đường dẫn tính từ thư mục của chương trình, viết chữ hoa hay chữ thường
    đều được. Tên chủ đề trong <code>topic.txt</code> được viết bằng bảng mã TCVN3.</li>
</ul>

<h2 id="en">English</h2>
<h3>For children</h3>
<ol class="big">
<li>On the home screen, click <b>Free colouring</b> to colour any picture,
    or <b>Colour a sample</b> to colour a picture after a coloured example.</li>
<li>Click a small picture on the left to choose it.</li>
<li>Click a colour at the bottom to pick it.</li>
<li>Click inside the picture where you want the colour: that part fills with it!</li>
</ol>
<p><img src="images/howto.png" alt="Pick a colour, then click in the picture"></p>
<p><img src="images/free-coloring.png" alt="Free colouring"></p>
<p><img src="images/sample-coloring.png" alt="Colouring a sample: the example on the left, your picture on the right"></p>
<table>
{legend_en}
</table>
<h3>For parents</h3>
<ul>
<li>A <b>right click</b> on a colour opens the colour mixer, where your child can make a new
    colour for that swatch.<br>
    <img src="images/color-mixer.png" alt="The colour mixer"></li>
<li>The <b>many pictures</b> button shows fifteen pictures at a time:<br>
    <img src="images/browse.png" alt="The browse screen"></li>
<li><b>Music</b> on the home screen opens a list of 80 songs; the chosen song plays in a loop.
    The note button on the colouring screens switches the music on and off.</li>
<li><b>Save</b> writes the coloured picture to a .bmp or .png file, by default into the
    <code>Tintorama</code> folder in your Pictures folder. The last topic, <b>My drawings</b>,
    lists the pictures saved there, newest first: open one to colour on; <b>Start again</b>
    then gives back the uncoloured picture it came from.</li>
<li>Your own pictures: put PNG, BMP or GIF files into the folder
    <code>~/.local/share/tintorama/pictures/</code> (or <code>$XDG_DATA_HOME/tintorama/pictures/</code>).
    They appear under the topic <b>Added pictures</b>, turned into black outlines on white and
    fitted into 600 × 400 pixels. Files that are not pictures, or are too large, are left out.</li>
<li>The box at the top right shows only the pictures of one topic.</li>
<li>You can add your own pictures: put a .bmp file (black outlines on white) below the
    program's folder and add a line to <code>freely.txt</code> (number, topic number, file
    path, separated by tabs). The path starts from the program's folder, and capital or small
    letters both find the file. Topic names in <code>topic.txt</code> are written in the TCVN3
    Vietnamese encoding.</li>
</ul>
<p><small>Tintorama. Font “Lumora Sans Serif” derived from DejaVu Sans (Bitstream Vera
licence).</small></p>
</body>
</html>
"""


# The screens the page shows, made from the program's tour at build time
# (help_screens.py); until then, from their backgrounds.
SCREEN_PICTURES = {
    "free-coloring.png": ("Backgrnd", "Freely", "bg1.bmp"),
    "sample-coloring.png": ("Backgrnd", "Samples", "bg1.bmp"),
    "browse.png": ("Backgrnd", "browse.bmp"),
    "color-mixer.png": ("Backgrnd", "mixed.bmp"),
}


def screen_placeholders(app_dir, images):
    """Pictures for the screens until the tour's screenshots replace them."""
    for picture, background in SCREEN_PICTURES.items():
        source = os.path.join(app_dir, *background)
        if os.path.exists(source):
            Image.open(source).convert("RGB").save(os.path.join(images, picture))
        else:
            Image.new("RGB", (320, 200), WHITE).save(os.path.join(images, picture))


def build(help_dir):
    images = os.path.join(help_dir, "images")
    os.makedirs(images, exist_ok=True)
    home = os.path.join(images, "home.bmp")
    build_home.build(home)
    Image.open(home).save(os.path.join(images, "home.png"))
    os.remove(home)
    how_to_picture(os.path.join(images, "howto.png"))
    screen_placeholders(os.path.dirname(os.path.abspath(help_dir)), images)
    rows_vi, rows_en = [], []
    for number, vi, en in LEGEND:
        icon_png(number, os.path.join(images, f"icon{number}.png"))
        cell = f'<td><img src="images/icon{number}.png" width="32" height="32" alt=""></td>'
        rows_vi.append(f"<tr>{cell}<td>{vi}</td></tr>")
        rows_en.append(f"<tr>{cell}<td>{en}</td></tr>")
    page = PAGE.format(legend_vi="\n".join(rows_vi), legend_en="\n".join(rows_en))
    with open(os.path.join(help_dir, "Help.htm"), "w", encoding="utf-8", newline="\n") as f:
        f.write(page)


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else "Help")
